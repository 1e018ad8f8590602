// Amount and update-time texts: sign, symbol and "en_US" digits whatever the device, and the
// update time in the device's locale, zone and hour cycle.
#include "summary/views/SummaryFormatting.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tamsa {
namespace {

std::string amount(std::string symbol, double value) {
  TamsaSummaryEntry entry;
  entry.currencySymbol = std::move(symbol);
  return amountText(entry, value);
}

TEST(AmountText, SignThenSymbolAsStoredThenEnglishDigits) {
  EXPECT_EQ(amount("$", 1234567.891), "$1,234,567.89");
  EXPECT_EQ(amount("€", -1234.5), "-€1,234.5");
  EXPECT_EQ(amount("$", -0.005), "-$0");  // rounds to zero but is negative
  EXPECT_EQ(amount(" kr ", 12), " kr 12");
  EXPECT_EQ(amount("", -1234.5), "-1,234.5");
  EXPECT_EQ(amount("$", -0.0), "$0");
  EXPECT_EQ(amount("$", -NAN), "$NaN");
  EXPECT_EQ(amount("$", -INFINITY), "-$∞");
}

// Formatting against ICU itself is DateFormatterTest's; here the device's settings reach it.
TEST(LastUpdateText, FollowsDeviceLocaleZoneAndHourCycle) {
  TamsaSummaryEntry entry;
  auto at = [&](std::string locale, std::string zone, device::HourCycle cycle) {
    device::Device d;
    d.localeIdentifier = std::move(locale);
    d.timeZoneIdentifier = std::move(zone);
    d.hourCycle = cycle;
    return lastUpdateText(entry, d);
  };
  entry.lastUpdate = foundation::Date{1700000000};  // 2023-11-14 22:13:20 UTC
  EXPECT_EQ(at("en_US", "America/New_York", device::HourCycle::localeDefault), "5:13\u202FPM");
  EXPECT_EQ(at("de_DE", "Asia/Tokyo", device::HourCycle::localeDefault), "07:13");
  EXPECT_EQ(at("en_US", "UTC", device::HourCycle::h24), "22:13");
  EXPECT_EQ(at("de_DE", "UTC", device::HourCycle::h12), "10:13\u202FPM");
}

}  // namespace
}  // namespace tamsa
