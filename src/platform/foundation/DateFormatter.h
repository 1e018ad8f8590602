// NSDateFormatter with date and time styles, on ICU's date format (what the platform itself uses).
// The formatter's locale and time zone stand for the device's current ones, which the caller
// passes in; the hour cycle stands for the device's 24-hour switch, which rewrites the hour field
// of the locale's pattern the way the platform does.
//
// A plain value holding settings: every stringFromDate builds its own ICU formatter, so a
// DateFormatter may be copied and used from any thread.
#pragma once

#include <string>
#include <utility>

#include "platform/foundation/Date.h"

namespace foundation {

// NSDateFormatterStyle, with the platform's raw values.
enum class DateFormatterStyle {
  noStyle = 0,
  shortStyle = 1,
  mediumStyle = 2,
  longStyle = 3,
  fullStyle = 4
};

// The device's 24-hour switch: the locale's own form, or forced 12-hour or 24-hour.
enum class HourCycle { localeDefault, h12, h24 };

class DateFormatter {
 public:
  void setDateStyle(DateFormatterStyle style) { dateStyle_ = style; }
  void setTimeStyle(DateFormatterStyle style) { timeStyle_ = style; }
  // ICU identifiers: "en_US", "de_DE"; "America/New_York". An unknown zone formats as GMT; a
  // locale ICU cannot use (see canonicalLocaleIdentifier) formats as "en_US".
  void setLocale(std::string identifier) { localeIdentifier_ = std::move(identifier); }
  void setTimeZone(std::string identifier) { timeZoneIdentifier_ = std::move(identifier); }
  void setHourCycle(HourCycle cycle) { hourCycle_ = cycle; }

  DateFormatterStyle dateStyle() const { return dateStyle_; }
  DateFormatterStyle timeStyle() const { return timeStyle_; }
  const std::string& localeIdentifier() const { return localeIdentifier_; }
  const std::string& timeZoneIdentifier() const { return timeZoneIdentifier_; }
  HourCycle hourCycle() const { return hourCycle_; }

  // The date in the pattern the styles, locale and hour cycle give ("h:mm a", "HH:mm"), in the
  // formatter's time zone; empty when both styles are noStyle.
  std::string stringFromDate(Date date) const;

  bool operator==(const DateFormatter&) const = default;

 private:
  DateFormatterStyle dateStyle_ = DateFormatterStyle::noStyle;
  DateFormatterStyle timeStyle_ = DateFormatterStyle::noStyle;
  std::string localeIdentifier_ = "en_US";
  std::string timeZoneIdentifier_ = "UTC";
  HourCycle hourCycle_ = HourCycle::localeDefault;
};

// Rewrites the hour field of an ICU date pattern for a forced hour cycle, as the device's 24-hour
// switch does. h24: a 12-hour field (h, K) becomes the locale's 24-hour field ("H" or "HH") and the
// day-period marker (a, b, B) goes, with the spacing that joined it to the time. h12: a 24-hour
// field (H, k) becomes "h" and, unless the pattern has a marker, "a" is added where the locale puts
// it. localeDefault, and patterns already in the asked cycle, are returned unchanged. UTF-8 in/out.
std::string patternForHourCycle(const std::string& pattern, const std::string& localeIdentifier,
                                HourCycle cycle);

}  // namespace foundation
