// Calendar.current as the extension uses it: adding a number of hours to an instant in the
// calendar's time zone. Built on ICU's Gregorian calendar. A Calendar is an immutable value;
// every call makes its own ICU calendar, so calls are thread-safe.
#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Date.h"

namespace foundation {

enum class CalendarComponent { hour };

class Calendar {
 public:
  // The Gregorian calendar in the given time zone (an ICU/Olson identifier, "UTC" when unknown).
  explicit Calendar(std::string timeZoneIdentifier) : timeZone_(std::move(timeZoneIdentifier)) {}

  // date(byAdding:value:to:wrappingComponents: false): nothing when the calendar cannot add.
  std::optional<Date> dateByAdding(CalendarComponent component, int value, Date date) const;

 private:
  std::string timeZone_;
};

// True when the platform's calendar can hold the instant: finite and within ICU's Gregorian range
// (about 5.8 million years either side of 1970). Dates beyond it cannot be shown or added to.
bool isRepresentableByCalendar(Date date);

}  // namespace foundation
