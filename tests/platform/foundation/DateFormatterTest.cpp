// Short times against ICU's own short time format, the 24-hour switch's rewrite of the hour field
// in both directions, and locale identifiers ICU cannot use (ICU itself crashes on some).
#include "platform/foundation/DateFormatter.h"

#include <gtest/gtest.h>

#include "platform/foundation/Locale.h"

namespace foundation {
namespace {

// 2023-11-14 22:13:20 UTC, and 09:41:00 UTC the same day.
constexpr Date kEvening{1700000000};
constexpr Date kMorning{1699954860};

std::string shortTime(const std::string& locale, Date date,
                      HourCycle cycle = HourCycle::localeDefault, const std::string& zone = "UTC") {
  DateFormatter f;
  f.setTimeStyle(DateFormatterStyle::shortStyle);
  f.setLocale(locale);
  f.setTimeZone(zone);
  f.setHourCycle(cycle);
  return f.stringFromDate(date);
}

TEST(DateFormatter, ShortTimeInTheZoneAndNoDate) {
  // Already the next day in Tokyo; still only the time.
  EXPECT_EQ(shortTime("de_DE", kEvening, HourCycle::localeDefault, "Asia/Tokyo"), "07:13");
}

TEST(DateFormatter, HourCycleSwitchInBothDirections) {
  using enum HourCycle;
  const std::tuple<const char*, HourCycle, const char*> cases[] = {
      {"en_US", h24, "22:13"},      {"ko_KR", h24, "22:13"},     {"ja_JP", h24, "22:13"},
      {"de_DE", h12, "10:13 PM"},   {"ja_JP", h12, "午後10:13"}, {"en_GB", h12, "10:13 pm"},
      {"ko_KR", h12, "오후 10:13"},
  };
  for (const auto& [locale, cycle, text] : cases)
    EXPECT_EQ(shortTime(locale, kEvening, cycle), text) << locale;
  EXPECT_EQ(shortTime("en_US", kMorning, h24), "09:41");
  const std::tuple<const char*, const char*, HourCycle, const char*> patterns[] = {
      {"a h:mm", "ko_KR", h24, "HH:mm"},
      {"h:mm:ss a z", "en_US", h24, "HH:mm:ss z"},
      {"H:mm", "ja_JP", h12, "ah:mm"},
      {"HH:mm:ss z", "de_DE", h12, "h:mm:ss a z"},
      {"HH 'h' mm", "fr_CA", h12, "h 'h' mm a"},  // quoted letters are text
      {"h 'o''clock' a", "en_US", h24, "HH 'o''clock'"},
      {"h:mm a", "en_US", localeDefault, "h:mm a"},
  };
  for (const auto& [pattern, locale, cycle, rewritten] : patterns)
    EXPECT_EQ(patternForHourCycle(pattern, locale, cycle), rewritten) << pattern;
  DateFormatter f;
  EXPECT_EQ(f.stringFromDate(kEvening), "");
  f.setTimeStyle(DateFormatterStyle::shortStyle);
  f.setDateStyle(DateFormatterStyle::shortStyle);
  EXPECT_EQ(f.stringFromDate(kEvening), "11/14/23, 10:13\u202FPM");
}

TEST(Locale, UnusableIdentifiersAreRefusedAndFormatAsEnglish) {
  for (const auto& [identifier, canonical] : std::vector<std::pair<std::string, std::string>>{
           {"de-DE", "de_DE"}, {"de_DE.UTF-8", "de_DE"}, {"ja_JP@calendar=japanese", ""}})
    EXPECT_EQ(canonicalLocaleIdentifier(identifier), canonical.empty() ? identifier : canonical);
  for (const std::string identifier :
       {"abcdefghijkl", "en_US@collation=", "en_US@=x", "1234567890123", "C", "zz_ZZ", "", "en US",
        std::string(200, 'a').c_str()}) {
    EXPECT_EQ(canonicalLocaleIdentifier(identifier), std::nullopt) << identifier;
    EXPECT_EQ(shortTime(identifier, kEvening), "10:13 PM") << identifier;
  }
}

}  // namespace
}  // namespace foundation
