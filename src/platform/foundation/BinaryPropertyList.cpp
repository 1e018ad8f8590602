// Reader for binary property lists ("bplist00"). The file is checked the way CoreFoundation checks
// it before any object is trusted (trailer fields, offset table placement and widths, every offset
// inside the object area); then the object graph reachable from the top object is walked once to
// reject malformed objects, cycles, nesting deeper than maxPropertyListDepth and shared references
// whose expansion into a tree would pass the caps on values and text; only then is the tree built.
// Thread-safe: all state lives in one call.
#include <cstring>
#include <limits>
#include <vector>

#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Unicode.h"

namespace foundation {
namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kTrailerSize = 32;

enum class Kind : std::uint8_t {
  boolean,
  integer,
  real,
  date,
  data,
  ascii,
  utf16,
  uid,
  array,
  dict
};

// One object's marker, decoded and bounds-checked.
struct Object {
  Kind kind = Kind::boolean;
  std::uint64_t start = 0;  // first payload byte
  std::uint64_t count = 0;  // bytes, UTF-16 units, elements or pairs; payload width for scalars
  std::uint8_t marker = 0;
};

enum class Visit : std::uint8_t { unseen, open, done };

// What an object expands to in the built tree: values (itself, and every key and value inside it,
// counted as often as they are referred to) and bytes of text and data.
struct Expanded {
  std::uint64_t values = 0;
  std::uint64_t textBytes = 0;
};

class Reader {
 public:
  explicit Reader(std::string_view bytes)
      : data_(reinterpret_cast<const unsigned char*>(bytes.data())), size_(bytes.size()) {}

  std::optional<PlistValue> read() {
    if (!readTrailer()) return std::nullopt;
    visit_.assign(objectCount_, Visit::unseen);
    height_.assign(objectCount_, 0);
    expanded_.assign(objectCount_, Expanded{});
    objects_.assign(objectCount_, Object{});
    if (!check(topObject_, 0)) return std::nullopt;
    if (height_[topObject_] > static_cast<std::uint32_t>(maxPropertyListDepth)) return std::nullopt;
    return build(topObject_);
  }

 private:
  std::uint64_t be(std::uint64_t at, std::size_t width) const {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < width; ++i) v = (v << 8) | data_[at + i];
    return v;
  }

  // The trailer and offset table, as CoreFoundation validates them.
  bool readTrailer() {
    if (size_ < kHeaderSize + 1 + kTrailerSize) return false;
    if (std::memcmp(data_, "bplist0", 7) != 0) return false;
    const std::uint64_t t = size_ - kTrailerSize;
    offsetSize_ = data_[t + 6];
    refSize_ = data_[t + 7];
    objectCount_ = be(t + 8, 8);
    topObject_ = be(t + 16, 8);
    tableOffset_ = be(t + 24, 8);
    if (objectCount_ < 1 || topObject_ >= objectCount_) return false;
    if (tableOffset_ < kHeaderSize + 1 || tableOffset_ >= t) return false;
    // Wider fields are never written and would not fit a 64-bit reading.
    if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8) return false;
    std::uint64_t tableSize;
    if (__builtin_mul_overflow(objectCount_, offsetSize_, &tableSize)) return false;
    std::uint64_t end;
    if (__builtin_add_overflow(tableOffset_, tableSize, &end) ||
        __builtin_add_overflow(end, kTrailerSize, &end) || end != size_) {
      return false;
    }
    if (refSize_ < 8 && (std::uint64_t{1} << (8 * refSize_)) <= objectCount_) return false;
    if (offsetSize_ < 8 && (std::uint64_t{1} << (8 * offsetSize_)) <= tableOffset_) return false;
    offsets_.resize(objectCount_);
    for (std::uint64_t i = 0; i < objectCount_; ++i) {
      std::uint64_t off = be(tableOffset_ + i * offsetSize_, offsetSize_);
      // Every object starts after the header and before the table.
      if (off < kHeaderSize || off >= tableOffset_) return false;
      offsets_[i] = off;
    }
    return true;
  }

  // Bytes left between at and the offset table.
  std::uint64_t room(std::uint64_t at) const { return at <= tableOffset_ ? tableOffset_ - at : 0; }

  bool decode(std::uint64_t index, Object& o) const {
    std::uint64_t at = offsets_[index];
    std::uint8_t marker = data_[at];
    o.marker = marker;
    o.start = at + 1;
    std::uint8_t low = marker & 0x0F;
    auto scalar = [&](Kind kind, std::uint64_t width) {
      o.kind = kind;
      o.count = width;
      return room(o.start) >= width;
    };
    switch (marker >> 4) {
      case 0x0:
        if (low != 0x8 && low != 0x9) return false;  // null and fill are not values here
        o.kind = Kind::boolean;
        return true;
      case 0x1:
        return low <= 4 && scalar(Kind::integer, std::uint64_t{1} << low);
      case 0x2:
        return (low == 2 || low == 3) && scalar(Kind::real, std::uint64_t{1} << low);
      case 0x3:
        return marker == 0x33 && scalar(Kind::date, 8);
      case 0x8:
        return scalar(Kind::uid, low + 1u);
      case 0x4:
        return sized(o, Kind::data, 1);
      case 0x5:
        return sized(o, Kind::ascii, 1);
      case 0x6:
        return sized(o, Kind::utf16, 2);
      case 0xA:
        return sized(o, Kind::array, refSize_);
      case 0xD:
        return sized(o, Kind::dict, 2u * refSize_);
      default:
        return false;
    }
  }

  // A counted object: the count is in the marker, or (0xF) in an integer object after it.
  bool sized(Object& o, Kind kind, std::uint64_t unit) const {
    o.kind = kind;
    std::uint64_t count = o.marker & 0x0F;
    if (count == 0x0F) {
      if (room(o.start) < 1) return false;
      std::uint8_t intMarker = data_[o.start];
      if ((intMarker >> 4) != 0x1 || (intMarker & 0x0F) > 3) return false;
      std::uint64_t width = std::uint64_t{1} << (intMarker & 0x0F);
      if (room(o.start + 1) < width) return false;
      count = be(o.start + 1, width);
      o.start += 1 + width;
    }
    if (count > room(o.start) / unit) return false;
    o.count = count;
    return true;
  }

  std::uint64_t ref(std::uint64_t at) const { return be(at, refSize_); }

  static bool isString(const Object& o) { return o.kind == Kind::ascii || o.kind == Kind::utf16; }

  static std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    std::uint64_t r;
    return __builtin_add_overflow(a, b, &r) ? std::numeric_limits<std::uint64_t>::max() : r;
  }

  // Walks the graph once: decodes every reachable object, rejects cycles, records each object's
  // nesting height and the size of its expansion (every shared object counted each time it is
  // referred to). containerDepth counts the open containers.
  bool check(std::uint64_t index, int containerDepth) {
    if (visit_[index] == Visit::done) return true;
    if (visit_[index] == Visit::open) return false;  // a cycle
    Object& o = objects_[index];
    if (!decode(index, o)) return false;
    Expanded size{1, 0};
    std::uint32_t height = 0;
    if (o.kind == Kind::array || o.kind == Kind::dict) {
      if (containerDepth >= maxPropertyListDepth) return false;
      visit_[index] = Visit::open;
      const std::uint64_t children = o.kind == Kind::dict ? 2 * o.count : o.count;
      for (std::uint64_t i = 0; i < children; ++i) {
        std::uint64_t child = ref(o.start + i * refSize_);
        if (child >= objectCount_) return false;
        if (!check(child, containerDepth + 1)) return false;
        if (o.kind == Kind::dict && i < o.count && !isString(objects_[child])) return false;
        height = std::max(height, height_[child]);
        size.values = saturatingAdd(size.values, expanded_[child].values);
        size.textBytes = saturatingAdd(size.textBytes, expanded_[child].textBytes);
        if (size.values > maxPropertyListValues || size.textBytes > maxPropertyListTextBytes)
          return false;
      }
      height += 1;
    } else if (o.kind == Kind::data || o.kind == Kind::ascii) {
      size.textBytes = o.count;
    } else if (o.kind == Kind::utf16) {
      size.textBytes = 3 * o.count;  // UTF-8 needs at most three bytes per unit
    }
    if (size.textBytes > maxPropertyListTextBytes) return false;
    if (o.kind == Kind::integer && o.count == 16 && !fitsInteger(o)) return false;
    if (o.kind == Kind::uid && o.count > 8 && be(o.start, o.count - 8) != 0) return false;
    if (o.kind == Kind::ascii) {
      for (std::uint64_t i = 0; i < o.count; ++i) {
        if (data_[o.start + i] > 0x7F) return false;
      }
    }
    visit_[index] = Visit::done;
    height_[index] = height;
    expanded_[index] = size;
    return true;
  }

  // A 16-byte integer must be representable as int64 or as an unsigned 64-bit value.
  bool fitsInteger(const Object& o) const {
    std::uint64_t high = be(o.start, 8);
    std::uint64_t low = be(o.start + 8, 8);
    return high == 0 || (high == std::numeric_limits<std::uint64_t>::max() && (low >> 63) != 0);
  }

  std::string text(const Object& o) const {
    if (o.kind == Kind::ascii)
      return std::string(reinterpret_cast<const char*>(data_ + o.start), o.count);
    std::string out;
    out.reserve(o.count);
    unicode::Utf16Appender utf16(out);
    for (std::uint64_t i = 0; i < o.count; ++i) {
      utf16.add(static_cast<char16_t>(be(o.start + 2 * i, 2)));
    }
    utf16.finish();
    return out;
  }

  PlistInteger integer(const Object& o) const {
    if (o.count == 16) {
      std::uint64_t high = be(o.start, 8);
      std::uint64_t low = be(o.start + 8, 8);
      return PlistInteger{static_cast<std::int64_t>(low), high == 0 && (low >> 63) != 0};
    }
    // 1, 2 and 4 bytes are unsigned; 8 bytes are signed.
    return PlistInteger{static_cast<std::int64_t>(be(o.start, o.count)), false};
  }

  double real(const Object& o) const {
    std::uint64_t bits = be(o.start, o.count);
    if (o.count == 4) {
      float f;
      std::uint32_t b32 = static_cast<std::uint32_t>(bits);
      std::memcpy(&f, &b32, 4);
      return f;
    }
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
  }

  // Builds the tree of an object that check() accepted.
  PlistValue build(std::uint64_t index) const {
    const Object& o = objects_[index];
    switch (o.kind) {
      case Kind::boolean:
        return PlistValue{o.marker == 0x09};
      case Kind::integer:
        return PlistValue{integer(o)};
      case Kind::real:
        return PlistValue{real(o)};
      case Kind::date:
        return PlistValue{PlistDate{real(o)}};
      case Kind::data:
        return PlistValue{
            PlistData{std::string(reinterpret_cast<const char*>(data_ + o.start), o.count)}};
      case Kind::ascii:
      case Kind::utf16:
        return PlistValue{text(o)};
      case Kind::uid: {
        std::uint64_t width = std::min<std::uint64_t>(o.count, 8);
        return PlistValue{PlistUid{be(o.start + (o.count - width), width)}};
      }
      case Kind::array: {
        PlistArray a;
        a.reserve(o.count);
        for (std::uint64_t i = 0; i < o.count; ++i) a.push_back(build(ref(o.start + i * refSize_)));
        return PlistValue{std::move(a)};
      }
      case Kind::dict: {
        PlistDictionary d;
        for (std::uint64_t i = 0; i < o.count; ++i) {
          std::string key = text(objects_[ref(o.start + i * refSize_)]);
          d.insert_or_assign(std::move(key), build(ref(o.start + (o.count + i) * refSize_)));
        }
        return PlistValue{std::move(d)};
      }
    }
    return PlistValue{};
  }

  const unsigned char* data_;
  std::uint64_t size_;
  std::uint8_t offsetSize_ = 0;
  std::uint8_t refSize_ = 0;
  std::uint64_t objectCount_ = 0;
  std::uint64_t topObject_ = 0;
  std::uint64_t tableOffset_ = 0;
  std::vector<std::uint64_t> offsets_;
  std::vector<Object> objects_;
  std::vector<Visit> visit_;
  std::vector<std::uint32_t> height_;
  std::vector<Expanded> expanded_;
};

}  // namespace

std::optional<PlistValue> readBinaryPropertyList(std::string_view bytes) {
  return Reader(bytes).read();
}

}  // namespace foundation
