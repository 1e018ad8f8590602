#include "summary/views/SummaryFormatting.h"

#include <cmath>

#include "platform/foundation/DateFormatter.h"

namespace tamsa {

const foundation::NumberFormatter& amountFormatter() {
  // Configured in the platform's order: style (decimal by construction), locale, fraction digits.
  static const foundation::NumberFormatter formatter = [] {
    foundation::NumberFormatter f;
    f.setLocale("en_US");
    f.setMinimumFractionDigits(0);
    f.setMaximumFractionDigits(2);
    return f;
  }();
  return formatter;
}

std::string amountText(const TamsaSummaryEntry& entry, double value) {
  const std::string magnitude = amountFormatter().stringFromNumber(std::fabs(value)).value_or("0");
  // A strict test: zero, negative zero and NaN get no sign.
  std::string text = value < 0 ? "-" : "";
  text += entry.currencySymbol;
  text += magnitude;
  return text;
}

std::string lastUpdateText(const TamsaSummaryEntry& entry, const device::Device& device) {
  if (!entry.lastUpdate) return "--:--";
  foundation::DateFormatter formatter;
  formatter.setTimeStyle(foundation::DateFormatterStyle::shortStyle);
  formatter.setDateStyle(foundation::DateFormatterStyle::noStyle);
  // The device's current locale and time zone, which the platform's formatter would pick up.
  formatter.setLocale(device.localeIdentifier);
  formatter.setTimeZone(device.timeZoneIdentifier);
  formatter.setHourCycle(device.hourCycle);
  return formatter.stringFromDate(*entry.lastUpdate);
}

}  // namespace tamsa
