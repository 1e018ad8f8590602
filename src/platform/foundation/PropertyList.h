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

// A date as both forms hold it: seconds since 2001-01-01 00:00:00 UTC. Kept in that form, not
// as a Date from 1970, so that a list read and written again keeps every date bit for bit.
struct PlistDate {
  static constexpr double secondsFrom1970To2001 = 978307200.0;
  double secondsSince2001 = 0;
  Date date() const { return Date{secondsSince2001 + secondsFrom1970To2001}; }
  bool operator==(const PlistDate&) const = default;
};

// A keyed archiver's object reference (binary marker 0x8n; in XML a dictionary whose one key is
// "CF$UID" with an integer).
struct PlistUid {
  std::uint64_t value = 0;
  bool operator==(const PlistUid&) const = default;
};

struct PlistValue {
  std::variant<bool, PlistInteger, double, std::string, PlistDate, PlistData, PlistUid, PlistArray,
               PlistDictionary>
      value;
  bool operator==(const PlistValue&) const = default;
};

// Containers nest at most this deep; deeper lists are rejected whole.
constexpr int maxPropertyListDepth = 512;
// A list read holds at most this many values (dictionary keys included) and this many bytes of
// text (as UTF-8, UTF-16 text counted at three bytes a unit), keys and data, counting a shared
// value each time it is referred to; larger lists are rejected whole, so that a small file cannot
// expand without bound. Far above any suite of 4 MiB that shares nothing.
constexpr std::uint64_t maxPropertyListValues = 1u << 20;
constexpr std::uint64_t maxPropertyListTextBytes = 8u << 20;

// How an XML list's <data> text is read: as the platform reads it (characters outside the base64
// alphabet skipped, the final padding optional), or strictly, refusing a list whose data text
// holds anything but the alphabet, white space and final padding, or a last character whose bits
// make no byte (what a writer must not quietly replace with what the platform made of it).
enum class Base64 { lenient, strict };

// Reads a binary or XML property list. Nothing when the bytes are not a well-formed list (binary
// lists are checked as CoreFoundation checks them before any object is read).
std::optional<PlistValue> readPropertyList(std::string_view bytes, Base64 base64 = Base64::lenient);

// The two forms on their own. The binary reader is our own: it applies CoreFoundation's trailer
// checks, rejects cycles, nesting beyond maxPropertyListDepth and shared references that would
// expand past maxPropertyListValues or maxPropertyListTextBytes, and keeps 16-byte integers and
// dates at full range (libplist 2.2 cannot). Null, fill, set and UTF-8 string objects are rejected.
std::optional<PlistValue> readBinaryPropertyList(std::string_view bytes);
// XML through libplist, after rejecting entity declarations, DOCTYPEs with an internal subset,
// nesting beyond maxPropertyListDepth, text that is not UTF-8, a <key> without a value, a
// second object in <plist>, an <integer> or <real> that is not a whole number in range (the
// platform finds such a file malformed), and a <date> that parsePlistDate does not read. Dates are
// read here, not by libplist (which keeps 32-bit seconds), so every year reads as written. A
// dictionary whose one key is "CF$UID", with an integer, reads as that UID.
std::optional<PlistValue> readXmlPropertyList(std::string_view bytes,
                                              Base64 base64 = Base64::lenient);

// Writes value as a binary list that CoreFoundation, plistlib and readPropertyList read back as
// the same value (a string that is not UTF-8 has each bad byte written as U+FFFD). Nothing when
// containers nest deeper than maxPropertyListDepth.
std::optional<std::string> writeBinaryPropertyList(const PlistValue& value);

// Padded base64, as both the XML form and `store show` write data.
std::string base64Text(std::string_view bytes);

// ISO 8601 text for a date that reads back through parsePlistDate to the same double:
// "YYYY-MM-DDTHH:MM:SS.fffZ", with as many fraction digits as that takes (three at least); years
// outside 0000..9999 in the expanded form, a sign and six digits or more ("+010000-01-01T...").
// Nothing for a date with no such text: not finite, -0, beyond 10^15 seconds (31 million years)
// or needing more than 24 fraction digits.
std::optional<std::string> plistDateText(PlistDate date);
// Reads ISO 8601 exactly (the nearest double to the decimal value, however many fraction digits):
// a date (YYYY or an expanded year), "T" or a space, HH:MM, optional :SS and fraction, then "Z" or
// an offset (+HH:MM, +HHMM, +HH). Nothing for anything else.
std::optional<PlistDate> parsePlistDate(std::string_view text);

}  // namespace foundation
