#include "platform/foundation/Calendar.h"

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <cmath>
#include <memory>

namespace foundation {

std::optional<Date> Calendar::dateByAdding(CalendarComponent component, int value,
                                           Date date) const {
  if (!std::isfinite(date.secondsSince1970)) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::TimeZone> zone(
      icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone_)));
  icu::GregorianCalendar calendar(zone.release(), status);
  if (U_FAILURE(status)) return std::nullopt;
  calendar.setTime(date.secondsSince1970 * 1000.0, status);
  UCalendarDateFields field = UCAL_HOUR_OF_DAY;
  switch (component) {
    case CalendarComponent::hour:
      field = UCAL_HOUR_OF_DAY;
      break;
  }
  calendar.add(field, value, status);
  UDate result = calendar.getTime(status);
  if (U_FAILURE(status)) return std::nullopt;
  return Date{result / 1000.0};
}

}  // namespace foundation
