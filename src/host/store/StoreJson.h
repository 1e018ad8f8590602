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

// The value a JSON value stands for, as one of the suite's values; a usage failure naming `where`
// (the key) for null, a tagged object whose content is malformed, or containers nested past the
// property-list limit with the suite's own dictionary counted.
Result<foundation::PlistValue> plistFromJson(const nlohmann::json& json, const std::string& where);

// Parses JSON text; a usage failure, naming `what`, for text that is not UTF-8 or not JSON, that
// nests deeper than a property list may, or that holds an integer beyond 64 bits.
Result<nlohmann::json> parseJson(std::string_view text, const std::string& what);

}  // namespace host
