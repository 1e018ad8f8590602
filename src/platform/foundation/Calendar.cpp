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

bool isRepresentableByCalendar(Date date) {
  if (!std::isfinite(date.secondsSince1970)) return false;
  // A strict calendar refuses to be set outside its range; a lenient one would clamp.
  UErrorCode status = U_ZERO_ERROR;
  icu::GregorianCalendar calendar(icu::TimeZone::getGMT()->clone(), status);
  if (U_FAILURE(status)) return false;
  calendar.setLenient(false);
  calendar.setTime(date.secondsSince1970 * 1000.0, status);
  return U_SUCCESS(status);
}

}  // namespace foundation
