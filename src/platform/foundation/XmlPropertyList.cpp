// XML property lists through libplist 2.2. libplist has no nesting cap and no entity-expansion
// guard of its own, so the text is screened first: no entity declarations, no DOCTYPE with an
// internal subset, and element nesting within maxPropertyListDepth. libplist also reads numbers
// leniently ("1.5" as the integer 1, "5abc" as the real 5, "010" as 8), where the platform rejects
// the file or reads decimal: the screening checks every <integer> and <real> as the platform does
// and hands libplist each integer in plain decimal. libplist keeps dates as 32-bit seconds and
// reads malformed ones as 1970, so the screening reads every <date> itself and hands libplist the
// date's index in their list instead; it decodes base64 more strictly than the platform, so every
// <data> is decoded here and handed over padded. libplist reports failure only by leaving its out
// pointer null. Thread-safe: libplist's parser keeps no shared state.
#include <plist/plist.h>

#include <charconv>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Unicode.h"

namespace foundation {
namespace {

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
  return text.substr(at, prefix.size()) == prefix;
}

bool containsNoCase(std::string_view text, std::string_view needle) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  if (needle.size() > text.size()) return false;
  for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < needle.size() && lower(text[i + k]) == lower(needle[k])) ++k;
    if (k == needle.size()) return true;
  }
  return false;
}

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view kSpace = " \t\r\n";
  auto first = text.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

bool equalsNoCase(std::string_view text, std::string_view lowerWord) {
  return text.size() == lowerWord.size() && containsNoCase(text, lowerWord);
}

// An <integer>'s text in plain decimal: an optional sign, then decimal digits or "0x" and hex
// digits, within the 64-bit signed range or, unsigned, up to 2^64-1 (as the platform reads them).
// Nothing for anything else.
std::optional<std::string> decimalInteger(std::string_view text) {
  text = trimmed(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
  std::uint64_t magnitude = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (negative && magnitude > std::uint64_t{1} << 63) return std::nullopt;
  return (negative && magnitude != 0 ? "-" : "") + std::to_string(magnitude);
}

// A <real>'s text: a whole C-locale decimal floating-point number with an optional sign (beyond the
// range of a double it reads as infinity), or "nan", "inf", "infinity" in any case.
bool isReal(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
  if (equalsNoCase(text, "nan") || equalsNoCase(text, "inf") || equalsNoCase(text, "infinity"))
    return true;
  if (text.empty() || text[0] == '+' || text[0] == '-') return false;
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return (error == std::errc() || error == std::errc::result_out_of_range) &&
         end == text.data() + text.size();
}

int base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  return c == '+' ? 62 : c == '/' ? 63 : -1;
}

// <data> text decoded as the platform decodes it: characters outside the alphabet skipped, the
// final padding optional. `exact` is false when that dropped anything but white space and padding
// at the end, or left a last character whose six bits make no byte.
struct DecodedData {
  std::string bytes;
  bool exact = true;
};

DecodedData decodeBase64(std::string_view text) {
  DecodedData out;
  std::uint32_t bits = 0;
  std::size_t count = 0;
  bool padded = false;
  for (char c : text) {
    const int value = base64Value(c);
    if (value < 0) {
      padded = padded || c == '=';
      out.exact = out.exact && (c == '=' || c == ' ' || c == '\t' || c == '\r' || c == '\n');
      continue;
    }
    out.exact = out.exact && !padded;
    bits = bits << 6 | static_cast<std::uint32_t>(value);
    if (++count % 4 == 0) {
      for (int shift : {16, 8, 0}) out.bytes += static_cast<char>((bits >> shift) & 0xFF);
      bits = 0;
    }
  }
  if (count % 4 == 1) out.exact = false;
  if (count % 4 >= 2) out.bytes += static_cast<char>(bits >> (count % 4 == 2 ? 4 : 10));
  if (count % 4 == 3) out.bytes += static_cast<char>((bits >> 2) & 0xFF);
  return out;
}

// Text to put in place of a stretch of the original, in the order of the text.
struct Replacement {
  std::size_t at = 0, length = 0;
  std::string text;
};

// An open element, as far as the screening follows the structure.
struct OpenElement {
  enum class Kind : std::uint8_t { plist, dict, other } kind = Kind::other;
  bool keyPending = false;  // a dict whose last child is a <key>
  bool hasChild = false;    // a plist that already holds its one object
};

// Screens the text before libplist sees it. Counts element nesting by scanning tags, skipping
// comments, CDATA sections, processing instructions and quoted attribute values. Also refuses what
// libplist 2.2 lets through and CoreFoundation does not: a <key> with no value before </dict>, a
// second object in <plist>, and malformed numbers and dates. Fills in the integers' decimal forms
// and the dates' indexes, and the dates read.
bool acceptableXml(std::string_view text, Base64 base64, std::vector<Replacement>& replacements,
                   std::vector<PlistDate>& dates) {
  // XML forbids NUL, and libplist would stop reading at one.
  if (text.find('\0') != std::string_view::npos) return false;
  if (!unicode::isValidUtf8(text)) return false;
  if (containsNoCase(text, "<!ENTITY")) return false;
  // A plist's element nesting: <plist>, the containers, and one leaf element inside the last.
  const int maxElements = maxPropertyListDepth + 2;
  int depth = 0;
  std::vector<OpenElement> open;
  std::size_t i = 0;
  while (true) {
    i = text.find('<', i);
    if (i == std::string_view::npos) return true;
    auto skipPast = [&](std::string_view terminator) {
      std::size_t end = text.find(terminator, i);
      if (end == std::string_view::npos) return false;
      i = end + terminator.size();
      return true;
    };
    if (startsWith(text, i, "<!--")) {
      if (!skipPast("-->")) return false;
    } else if (startsWith(text, i, "<![CDATA[")) {
      if (!skipPast("]]>")) return false;
    } else if (startsWith(text, i, "<?")) {
      if (!skipPast("?>")) return false;
    } else if (startsWith(text, i, "<!")) {
      std::size_t end = text.find('>', i);
      if (end == std::string_view::npos) return false;
      // A DOCTYPE may name the DTD but not declare anything of its own.
      if (text.substr(i, end - i).find('[') != std::string_view::npos) return false;
      i = end + 1;
    } else if (startsWith(text, i, "</")) {
      if (!skipPast(">")) return false;
      if (--depth < 0 || open.empty()) return false;
      if (open.back().kind == OpenElement::Kind::dict && open.back().keyPending) return false;
      open.pop_back();
    } else {
      char quote = 0;
      std::size_t j = i + 1;
      for (; j < text.size(); ++j) {
        char c = text[j];
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          quote = c;
        } else if (c == '>') {
          break;
        }
      }
      if (j >= text.size()) return false;
      std::string_view name = text.substr(i + 1, j - i - 1);
      name = name.substr(0, name.find_first_of(" \t\r\n/"));
      if (!open.empty()) {
        OpenElement& parent = open.back();
        if (parent.kind == OpenElement::Kind::dict) {
          if (name == "key" && parent.keyPending) return false;
          parent.keyPending = name == "key";
        } else if (parent.kind == OpenElement::Kind::plist) {
          if (parent.hasChild) return false;
          parent.hasChild = true;
        }
      }
      if (name == "integer" || name == "real" || name == "date" ||
          (name == "data" && text[j - 1] != '/')) {
        // The value runs to the closing tag: no comment, CDATA or child in between.
        std::size_t close = text.find('<', j + 1);
        if (text[j - 1] == '/' || close == std::string_view::npos || !startsWith(text, close, "</"))
          return false;
        std::string_view number = text.substr(j + 1, close - j - 1);
        if (name == "real" && !isReal(number)) return false;
        if (name == "integer") {
          auto decimal = decimalInteger(number);
          if (!decimal) return false;
          replacements.push_back({j + 1, number.size(), std::move(*decimal)});
        }
        if (name == "date") {
          auto date = parsePlistDate(trimmed(number));
          if (!date) return false;
          // Whole seconds from 2001, well within libplist's 32 bits: the list holds fewer dates
          // than the text has bytes.
          auto index = plistDateText(PlistDate{static_cast<double>(dates.size())});
          if (!index) return false;
          replacements.push_back({j + 1, number.size(), std::move(*index)});
          dates.push_back(*date);
        }
        if (name == "data") {
          // libplist would drop a value its stricter decoding cannot take: it is handed the
          // bytes the platform reads, padded.
          auto decoded = decodeBase64(number);
          if (base64 == Base64::strict && !decoded.exact) return false;
          replacements.push_back({j + 1, number.size(), base64Text(decoded.bytes)});
        }
      }
      if (text[j - 1] != '/') {
        if (++depth > maxElements) return false;
        open.push_back({name == "plist"  ? OpenElement::Kind::plist
                        : name == "dict" ? OpenElement::Kind::dict
                                         : OpenElement::Kind::other});
      }
      i = j + 1;
    }
  }
}

struct PlistFree {
  void operator()(void* p) const { plist_free(static_cast<plist_t>(p)); }
};
using PlistHandle = std::unique_ptr<void, PlistFree>;

struct MallocFree {
  void operator()(char* p) const { std::free(p); }
};
using MallocString = std::unique_ptr<char, MallocFree>;

// libplist keeps whether an integer above INT64_MAX was written as a large unsigned value only
// inside the node; its binary form shows it (a 16-byte integer marker).
bool isLargeUnsigned(plist_t node) {
  PlistHandle copy(plist_copy(node));
  if (!copy) return false;
  char* bin = nullptr;
  std::uint32_t length = 0;
  plist_to_bin(static_cast<plist_t>(copy.get()), &bin, &length);
  if (!bin) return false;
  bool large = length > 8 && static_cast<unsigned char>(bin[8]) == 0x14;
  plist_to_bin_free(bin);
  return large;
}

// What the screening read for libplist's nodes to refer to.
struct Screened {
  std::vector<PlistDate> dates;
  std::uint64_t values = 0, textBytes = 0;
  // Count one value (a key too) and bytes of text or data; false past the caps.
  bool value() { return ++values <= maxPropertyListValues; }
  bool text(std::size_t bytes) { return (textBytes += bytes) <= maxPropertyListTextBytes; }
};

std::optional<PlistValue> convert(plist_t node, int depth, Screened& screened);

std::optional<std::string> stringValue(plist_t node) {
  char* raw = nullptr;
  plist_get_string_val(node, &raw);
  MallocString owned(raw);
  if (!raw) return std::string();
  std::string s(raw);
  if (!unicode::isValidUtf8(s)) return std::nullopt;
  return s;
}

std::optional<PlistValue> convertDictionary(plist_t node, int depth, Screened& screened) {
  PlistDictionary dict;
  plist_dict_iter it = nullptr;
  plist_dict_new_iter(node, &it);
  if (!it) return std::nullopt;
  struct IterFree {
    void operator()(void* p) const { std::free(p); }
  };
  std::unique_ptr<void, IterFree> iterOwner(it);  // libplist 2.2 mallocs the iterator
  for (;;) {
    char* rawKey = nullptr;
    plist_t child = nullptr;
    plist_dict_next_item(node, it, &rawKey, &child);
    MallocString key(rawKey);
    if (!child) break;
    if (!rawKey) return std::nullopt;
    std::string k(rawKey);
    if (!unicode::isValidUtf8(k) || !screened.value() || !screened.text(k.size()))
      return std::nullopt;
    auto value = convert(child, depth + 1, screened);
    if (!value) return std::nullopt;
    dict.insert_or_assign(std::move(k), std::move(*value));
  }
  // The XML form of a UID, as CoreFoundation reads it.
  if (dict.size() == 1 && dict.begin()->first == "CF$UID")
    if (auto* n = std::get_if<PlistInteger>(&dict.begin()->second.value);
        n && (n->value >= 0 || n->isUnsignedAboveInt64))
      return PlistValue{PlistUid{static_cast<std::uint64_t>(n->value)}};
  std::optional<PlistValue> result(std::in_place);
  result->value.emplace<PlistDictionary>(std::move(dict));
  return result;
}

std::optional<PlistValue> convert(plist_t node, int depth, Screened& screened) {
  if (!screened.value()) return std::nullopt;
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      std::uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return PlistValue{b != 0};
    }
    case PLIST_UINT: {
      std::uint64_t u = 0;
      plist_get_uint_val(node, &u);
      bool large = u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) &&
                   isLargeUnsigned(node);
      return PlistValue{PlistInteger{static_cast<std::int64_t>(u), large}};
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(node, &d);
      return PlistValue{d};
    }
    case PLIST_STRING: {
      auto s = stringValue(node);
      if (!s || !screened.text(s->size())) return std::nullopt;
      return PlistValue{std::move(*s)};
    }
    case PLIST_DATE: {
      std::int32_t index = 0, usec = 0;
      plist_get_date_val(node, &index, &usec);
      if (index < 0 || static_cast<std::size_t>(index) >= screened.dates.size() || usec != 0)
        return std::nullopt;
      return PlistValue{screened.dates[static_cast<std::size_t>(index)]};
    }
    case PLIST_DATA: {
      char* raw = nullptr;
      std::uint64_t length = 0;
      plist_get_data_val(node, &raw, &length);
      MallocString owned(raw);
      if (!screened.text(length)) return std::nullopt;
      return PlistValue{PlistData{raw ? std::string(raw, length) : std::string()}};
    }
    case PLIST_UID: {
      std::uint64_t u = 0;
      plist_get_uid_val(node, &u);
      return PlistValue{PlistUid{u}};
    }
    case PLIST_ARRAY: {
      if (depth >= maxPropertyListDepth) return std::nullopt;
      PlistArray array;
      std::uint32_t n = plist_array_get_size(node);
      array.reserve(n);
      for (std::uint32_t i = 0; i < n; ++i) {
        plist_t child = plist_array_get_item(node, i);
        if (!child) return std::nullopt;
        auto value = convert(child, depth + 1, screened);
        if (!value) return std::nullopt;
        array.push_back(std::move(*value));
      }
      return PlistValue{std::move(array)};
    }
    case PLIST_DICT:
      if (depth >= maxPropertyListDepth) return std::nullopt;
      return convertDictionary(node, depth, screened);
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<PlistValue> readXmlPropertyList(std::string_view bytes, Base64 base64) {
  if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  std::vector<Replacement> replacements;
  Screened screened;
  if (!acceptableXml(bytes, base64, replacements, screened.dates)) return std::nullopt;
  // libplist's number and date parsing may read up to a terminating NUL: the string gives it one.
  std::string text;
  text.reserve(bytes.size());
  std::size_t copied = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  for (const Replacement& r : replacements) {
    text.append(bytes.substr(copied, r.at - copied));
    text += r.text;
    copied = r.at + r.length;
  }
  text.append(bytes.substr(copied));
  plist_t root = nullptr;
  plist_from_xml(text.c_str(), static_cast<std::uint32_t>(text.size()), &root);
  if (!root) return std::nullopt;
  PlistHandle owner(root);
  return convert(root, 0, screened);
}

}  // namespace foundation
