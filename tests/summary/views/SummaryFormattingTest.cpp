// Amount and update-time texts: sign, symbol and "en_US" digits whatever the device, and the
// update time in the device's locale, zone and hour cycle.
#include "summary/views/SummaryFormatting.h"

#include <gtest/gtest.h>

#include <limits>

namespace tamsa {
namespace {

TamsaSummaryEntry entryWithSymbol(std::string symbol) {
  TamsaSummaryEntry entry;
  entry.currencySymbol = std::move(symbol);
  return entry;
}

device::Device deviceIn(std::string locale, std::string zone,
                        device::HourCycle cycle = device::HourCycle::localeDefault) {
  device::Device d;
  d.localeIdentifier = std::move(locale);
  d.timeZoneIdentifier = std::move(zone);
  d.hourCycle = cycle;
  return d;
}

TEST(AmountText, SignThenSymbolThenEnglishDigits) {
  const TamsaSummaryEntry dollars = entryWithSymbol("$");
  EXPECT_EQ(amountText(dollars, 1234567.891), "$1,234,567.89");
  EXPECT_EQ(amountText(dollars, -1234.5), "-$1,234.5");
  EXPECT_EQ(amountText(dollars, -2.675), "-$2.68");  // rounding itself: NumberFormatterTest
  // Rounds to zero but is still negative: the sign comes from the value, not the digits.
  EXPECT_EQ(amountText(dollars, -0.005), "-$0");
  const TamsaSummaryEntry euros = entryWithSymbol("€");
  EXPECT_EQ(amountText(euros, -2350.5), "-€2,350.5");
  EXPECT_EQ(amountText(euros, 1850), "€1,850");
  // The symbol is used as stored: no trimming, no space added.
  EXPECT_EQ(amountText(entryWithSymbol(" kr "), 12), " kr 12");
  EXPECT_EQ(amountText(entryWithSymbol(""), -1234.5), "-1,234.5");
}

TEST(AmountText, ZeroNegativeZeroAndNonFinite) {
  const TamsaSummaryEntry dollars = entryWithSymbol("$");
  EXPECT_EQ(amountText(dollars, 0), "$0");
  EXPECT_EQ(amountText(dollars, -0.0), "$0");
  EXPECT_EQ(amountText(dollars, std::numeric_limits<double>::quiet_NaN()), "$NaN");
  EXPECT_EQ(amountText(dollars, -std::numeric_limits<double>::quiet_NaN()), "$NaN");
  EXPECT_EQ(amountText(dollars, std::numeric_limits<double>::infinity()), "$∞");
  EXPECT_EQ(amountText(dollars, -std::numeric_limits<double>::infinity()), "-$∞");
}

// Formatting against ICU itself is DateFormatterTest's; here the device's settings reach it.
TEST(LastUpdateText, FollowsDeviceLocaleZoneAndHourCycle) {
  TamsaSummaryEntry entry = entryWithSymbol("$");
  EXPECT_EQ(lastUpdateText(entry, deviceIn("en_US", "UTC")), "--:--");  // no update yet
  entry.lastUpdate = foundation::Date{1700000000};                      // 2023-11-14 22:13:20 UTC
  EXPECT_EQ(lastUpdateText(entry, deviceIn("en_US", "UTC")), "10:13\u202FPM");
  EXPECT_EQ(lastUpdateText(entry, deviceIn("en_US", "America/New_York")), "5:13\u202FPM");
  EXPECT_EQ(lastUpdateText(entry, deviceIn("de_DE", "Asia/Tokyo")), "07:13");
  EXPECT_EQ(lastUpdateText(entry, deviceIn("en_US", "UTC", device::HourCycle::h24)), "22:13");
  EXPECT_EQ(lastUpdateText(entry, deviceIn("de_DE", "UTC", device::HourCycle::h12)),
            "10:13\u202FPM");
}

TEST(LastUpdateText, DeviceLocaleMovesTimesButNotAmounts) {
  TamsaSummaryEntry entry = entryWithSymbol("€");
  entry.lastUpdate = foundation::Date{1699954860};  // 09:41 UTC
  const device::Device german = deviceIn("de_DE", "Europe/Berlin");
  EXPECT_EQ(lastUpdateText(entry, german), "10:41");
  EXPECT_EQ(amountText(entry, 1234.5), "€1,234.5");
}

}  // namespace
}  // namespace tamsa
