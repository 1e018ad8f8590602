// Property-list values, the reader for their binary ("bplist00") and XML forms, and the writer
// of the binary form. Values are immutable trees; reading and writing are thread-safe.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/foundation/Date.h"

namespace foundation {

struct PlistValue;
using PlistArray = std::vector<PlistValue>;
using PlistDictionary = std::map<std::string, PlistValue, std::less<>>;

// An integer as stored; binary lists keep unsigned values above INT64_MAX in 16-byte form.
struct PlistInteger {
  std::int64_t value = 0;
  bool isUnsignedAboveInt64 = false;  // then the value is the uint64 bit pattern
  bool operator==(const PlistInteger&) const = default;
};

struct PlistData {
  std::string bytes;
  bool operator==(const PlistData&) const = default;
};

struct PlistValue {
  std::variant<bool, PlistInteger, double, std::string, Date, PlistData, PlistArray,
               PlistDictionary>
      value;
  bool operator==(const PlistValue&) const = default;
};

// Containers nest at most this deep; deeper lists are rejected whole.
constexpr int maxPropertyListDepth = 512;

// Reads a binary or XML property list. Nothing when the bytes are not a well-formed list (binary
// lists are checked as CoreFoundation checks them before any object is read).
std::optional<PlistValue> readPropertyList(std::string_view bytes);

// The two forms on their own. The binary reader is our own: it applies CoreFoundation's trailer
// checks, rejects cycles, nesting beyond maxPropertyListDepth and shared references that would
// expand far beyond the file's size, and keeps 16-byte integers and dates at full range (libplist
// 2.2 cannot). Null, fill, set and UTF-8 string objects are rejected; a UID becomes a dictionary
// {"CF$UID": n}, as the XML form writes it.
std::optional<PlistValue> readBinaryPropertyList(std::string_view bytes);
// XML through libplist, after rejecting entity declarations, DOCTYPEs with an internal subset,
// nesting beyond maxPropertyListDepth, text that is not UTF-8, a <key> without a value, a
// second object in <plist>, and an <integer> or <real> that is not a whole number in range (the
// platform finds such a file malformed). libplist keeps dates as 32-bit
// seconds from 2001, so XML dates outside 1933..2069 are not read faithfully.
std::optional<PlistValue> readXmlPropertyList(std::string_view bytes);

// Writes value as a binary list that CoreFoundation, plistlib and readPropertyList read back as
// the same value (a string that is not UTF-8 has each bad byte written as U+FFFD). Nothing when
// containers nest deeper than maxPropertyListDepth.
std::optional<std::string> writeBinaryPropertyList(const PlistValue& value);

}  // namespace foundation
