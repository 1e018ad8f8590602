// Property-list values and the reader for their binary ("bplist00") and XML forms.
// Values are immutable trees; reading is thread-safe.
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

// Reads a binary or XML property list. Nothing when the bytes are not a well-formed list (binary
// lists are checked as CoreFoundation checks them before any object is read).
std::optional<PlistValue> readPropertyList(std::string_view bytes);

}  // namespace foundation
