// The store's values as JSON and back, so that what `store show` prints, `store import` reads as
// the same suite: text as strings, integers as integers, reals always with a decimal point or an
// exponent, booleans as themselves; the kinds JSON lacks as objects of one key: {"date": ISO
// 8601} (a date with no calendar text: {"date": seconds since 2001 | "NaN" | "Infinity" |
// "-Infinity"}), {"data": base64}, {"real": "NaN" | "Infinity" | "-Infinity"}, {"CF$UID": n} (as
// the XML form writes a UID); and a stored dictionary that would read as one of those, wrapped as
// {"dictionary": {...}}. Every value shown reads back as the same value. Pure functions,
// thread-safe.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "host/core/Result.h"
#include "platform/foundation/PropertyList.h"

namespace host {

nlohmann::json jsonFromPlist(const foundation::PlistValue& value);

// The suite as `store show` prints it: its keys one a line, and the members of a value that is an
// array or dictionary one a line below it, indented by two spaces a level; anything deeper on one
// line, without spaces, so that deep nesting adds no indentation. Text that is not UTF-8 (which
// the readers never give) shows each bad byte as U+FFFD.
std::string suiteText(const foundation::PlistDictionary& suite);

// What suiteText takes at most: this much for each value (keys included; the longest is a date
// with its ISO 8601 text on a line of its own) and, for each byte of text or data, six (a control
// character as \u0001; base64 takes less than two).
constexpr std::uint64_t kShownBytesPerValue = 80, kShownBytesPerTextByte = 6;
// So the most suiteText prints for a list the readers take, and the largest import needed to take
// it back.
constexpr std::uint64_t kMaxShownBytes =
    foundation::maxPropertyListValues * kShownBytesPerValue +
    foundation::maxPropertyListTextBytes * kShownBytesPerTextByte + 16;

// The value a JSON value stands for, as one of the suite's values; a usage failure naming `where`
// (the key) for null, a tagged object whose content is malformed, or containers nested past the
// property-list limit with the suite's own dictionary counted.
Result<foundation::PlistValue> plistFromJson(const nlohmann::json& json, const std::string& where);

// Parses JSON text; a usage failure, naming `what`, for text that is not UTF-8 or not JSON, that
// nests deeper than a property list may, or that holds an integer beyond 64 bits.
Result<nlohmann::json> parseJson(std::string_view text, const std::string& what);

}  // namespace host
