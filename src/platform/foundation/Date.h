// A point in time: seconds since 1970-01-01 00:00:00 UTC, as a double (sub-second precision).
#pragma once

#include <compare>
#include <optional>
#include <string>

namespace foundation {

struct Date {
  double secondsSince1970 = 0;

  static Date fromTimeIntervalSince1970(double seconds) { return Date{seconds}; }
  Date addingTimeInterval(double seconds) const { return Date{secondsSince1970 + seconds}; }

  auto operator<=>(const Date&) const = default;
};

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar, and back.
long long daysFromCivil(long long y, unsigned m, unsigned d);
void civilFromDays(long long z, long long& y, unsigned& m, unsigned& d);

// "YYYY-MM-DDTHH:MM:SS.mmmZ" in UTC, milliseconds rounded down. Years outside 0000..9999 take ISO
// 8601's expanded form, a sign and at least six digits ("+010000-01-01...", "-000001-..."); beyond
// about 273 million years, far past what a calendar holds (isRepresentableByCalendar),
// "+overflow"/"-overflow", and "invalid" for not-a-number.
std::string iso8601(Date date);

// Reads ISO 8601: a date, "T", a time with optional fraction, and "Z" or an offset (+HH:MM,
// +HHMM, +HH). Nothing for anything else.
std::optional<Date> parseIso8601(const std::string& text);

}  // namespace foundation
