// Writer for binary property lists ("bplist00"), laid out as CoreFoundation lays them out: the
// objects in the order of a walk from the top object (a dictionary's keys before its values),
// equal scalars (strings, numbers, dates, data, booleans, UIDs) written once and shared, containers
// never shared; then the offset table and the 32-byte trailer, with object references and offsets
// as narrow as the counts allow. Thread-safe: all state lives in one call.
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Unicode.h"

namespace foundation {
namespace {

// The fewest bytes (1, 2, 4 or 8) that hold value, as CoreFoundation sizes refs and offsets.
std::uint8_t widthFor(std::uint64_t value) {
  if (value <= 0xFF) return 1;
  if (value <= 0xFFFF) return 2;
  if (value <= 0xFFFFFFFFu) return 4;
  return 8;
}

void appendBigEndian(std::string& out, std::uint64_t value, std::size_t width) {
  for (std::size_t i = width; i-- > 0;) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// An integer object: 1, 2 or 4 bytes unsigned, 8 bytes for larger or negative values.
void appendInteger(std::string& out, std::int64_t value) {
  std::uint8_t width = value < 0 ? std::uint8_t{8} : widthFor(static_cast<std::uint64_t>(value));
  std::uint8_t log2 = width == 1 ? 0 : width == 2 ? 1 : width == 4 ? 2 : 3;
  out.push_back(static_cast<char>(0x10 | log2));
  appendBigEndian(out, static_cast<std::uint64_t>(value), width);
}

// A marker with its count in the low nibble, or 0xF and an integer object after it.
void appendMarker(std::string& out, std::uint8_t kind, std::uint64_t count) {
  if (count < 15) {
    out.push_back(static_cast<char>(kind | count));
    return;
  }
  out.push_back(static_cast<char>(kind | 0x0F));
  appendInteger(out, static_cast<std::int64_t>(count));
}

void appendDouble(std::string& out, std::uint8_t marker, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, 8);
  out.push_back(static_cast<char>(marker));
  appendBigEndian(out, bits, 8);
}

// ASCII when every byte is below 0x80, else UTF-16BE (a malformed UTF-8 sequence as U+FFFD).
void appendString(std::string& out, const std::string& text) {
  bool ascii = true;
  for (unsigned char c : text) ascii = ascii && c < 0x80;
  if (ascii) {
    appendMarker(out, 0x50, text.size());
    out += text;
    return;
  }
  std::u16string units;
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t c;
    if (!unicode::decodeUtf8(text, pos, c)) {
      c = unicode::replacementCharacter;
      ++pos;
    }
    if (c >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(c));
    }
  }
  appendMarker(out, 0x60, units.size());
  for (char16_t u : units) appendBigEndian(out, u, 2);
}

class Writer {
 public:
  std::optional<std::string> write(const PlistValue& top) {
    if (!flatten(top, 0)) return std::nullopt;
    const std::uint8_t refSize = widthFor(objects_.size());
    std::string out = "bplist00";
    std::vector<std::uint64_t> offsets;
    offsets.reserve(objects_.size());
    for (const Flat& o : objects_) {
      offsets.push_back(out.size());
      out += o.bytes;
      for (std::size_t child : o.children) appendBigEndian(out, child, refSize);
    }
    const std::uint64_t tableOffset = out.size();
    const std::uint8_t offsetSize = widthFor(tableOffset);
    for (std::uint64_t offset : offsets) appendBigEndian(out, offset, offsetSize);
    out.append(6, '\0');
    out.push_back(static_cast<char>(offsetSize));
    out.push_back(static_cast<char>(refSize));
    appendBigEndian(out, objects_.size(), 8);
    appendBigEndian(out, 0, 8);  // the top object comes first
    appendBigEndian(out, tableOffset, 8);
    return out;
  }

 private:
  // One object: its marker and payload, then (for containers) the indexes it refers to.
  struct Flat {
    std::string bytes;
    std::vector<std::size_t> children;
  };

  std::size_t addScalar(std::string bytes) {
    auto [it, added] = scalars_.try_emplace(bytes, objects_.size());
    if (added) objects_.push_back(Flat{std::move(bytes), {}});
    return it->second;
  }

  // The index of value's object, or nothing past the nesting limit.
  std::optional<std::size_t> flatten(const PlistValue& value, int depth) {
    std::string bytes;
    if (auto* b = std::get_if<bool>(&value.value)) {
      bytes.push_back(*b ? '\x09' : '\x08');
    } else if (auto* i = std::get_if<PlistInteger>(&value.value)) {
      if (i->isUnsignedAboveInt64) {
        bytes.push_back('\x14');
        appendBigEndian(bytes, 0, 8);
        appendBigEndian(bytes, static_cast<std::uint64_t>(i->value), 8);
      } else {
        appendInteger(bytes, i->value);
      }
    } else if (auto* r = std::get_if<double>(&value.value)) {
      appendDouble(bytes, 0x23, *r);
    } else if (auto* d = std::get_if<PlistDate>(&value.value)) {
      appendDouble(bytes, 0x33, d->secondsSince2001);
    } else if (auto* u = std::get_if<PlistUid>(&value.value)) {
      const std::uint8_t width = widthFor(u->value);
      bytes.push_back(static_cast<char>(0x80 | (width - 1)));
      appendBigEndian(bytes, u->value, width);
    } else if (auto* s = std::get_if<std::string>(&value.value)) {
      appendString(bytes, *s);
    } else if (auto* data = std::get_if<PlistData>(&value.value)) {
      appendMarker(bytes, 0x40, data->bytes.size());
      bytes += data->bytes;
    } else {
      return container(value, depth);
    }
    return addScalar(std::move(bytes));
  }

  std::optional<std::size_t> container(const PlistValue& value, int depth) {
    if (depth >= maxPropertyListDepth) return std::nullopt;
    const std::size_t index = objects_.size();
    objects_.emplace_back();
    std::vector<std::size_t> children;
    std::string bytes;
    auto add = [&](const PlistValue& child) {
      auto at = flatten(child, depth + 1);
      if (at) children.push_back(*at);
      return at.has_value();
    };
    if (auto* a = std::get_if<PlistArray>(&value.value)) {
      appendMarker(bytes, 0xA0, a->size());
      for (const auto& element : *a)
        if (!add(element)) return std::nullopt;
    } else {
      const auto& d = std::get<PlistDictionary>(value.value);
      appendMarker(bytes, 0xD0, d.size());
      for (const auto& [key, unused] : d) add(PlistValue{key});
      for (const auto& [unused, element] : d)
        if (!add(element)) return std::nullopt;
    }
    objects_[index] = Flat{std::move(bytes), std::move(children)};
    return index;
  }

  std::vector<Flat> objects_;
  std::unordered_map<std::string, std::size_t> scalars_;  // encoded scalar to its index
};

}  // namespace

std::optional<std::string> writeBinaryPropertyList(const PlistValue& value) {
  return Writer().write(value);
}

}  // namespace foundation
