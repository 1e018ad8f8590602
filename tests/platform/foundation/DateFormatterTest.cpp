// Short times against ICU's own short time format, and the 24-hour switch's rewrite of the hour
// field in both directions.
#include "platform/foundation/DateFormatter.h"

#include <gtest/gtest.h>
#include <unicode/udat.h>
#include <unicode/unistr.h>

namespace foundation {
namespace {

// 2023-11-14 22:13:20 UTC, and 09:41:00 UTC the same day.
constexpr Date kEvening{1700000000};
constexpr Date kMorning{1699954860};

std::string icuShortTime(const char* locale, const char* zone, Date date) {
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString zoneId(zone);
  UDateFormat* format = udat_open(UDAT_SHORT, UDAT_NONE, locale, zoneId.getTerminatedBuffer(), -1,
                                  nullptr, 0, &status);
  UChar buffer[128];
  int32_t length =
      udat_format(format, date.secondsSince1970 * 1000.0, buffer, 128, nullptr, &status);
  udat_close(format);
  std::string out;
  icu::UnicodeString(buffer, length).toUTF8String(out);
  return out;
}

std::string shortTime(const std::string& locale, const std::string& zone, Date date,
                      HourCycle cycle = HourCycle::localeDefault) {
  DateFormatter f;
  f.setTimeStyle(DateFormatterStyle::shortStyle);
  f.setDateStyle(DateFormatterStyle::noStyle);
  f.setLocale(locale);
  f.setTimeZone(zone);
  f.setHourCycle(cycle);
  return f.stringFromDate(date);
}

TEST(DateFormatter, ShortTimeIsIcuShortTimeForTheLocale) {
  for (const char* locale :
       {"en_US", "de_DE", "fr_FR", "en_GB", "ja_JP", "ko_KR", "zh_TW", "ar_EG"})
    for (Date date : {kEvening, kMorning})
      EXPECT_EQ(shortTime(locale, "UTC", date), icuShortTime(locale, "UTC", date)) << locale;
  EXPECT_EQ(shortTime("en_US", "UTC", kEvening), "10:13\u202FPM");
  EXPECT_EQ(shortTime("en_US", "UTC", kMorning), "9:41\u202FAM");
  EXPECT_EQ(shortTime("de_DE", "UTC", kMorning), "09:41");
  EXPECT_EQ(shortTime("ja_JP", "UTC", kMorning), "9:41");
  EXPECT_EQ(shortTime("ko_KR", "UTC", kEvening), "오후 10:13");
}

TEST(DateFormatter, FollowsTheTimeZoneAndNeverShowsTheDate) {
  EXPECT_EQ(shortTime("en_US", "America/New_York", kEvening), "5:13\u202FPM");
  // Already the next day in Tokyo; still only the time.
  EXPECT_EQ(shortTime("en_US", "Asia/Tokyo", kEvening), "7:13\u202FAM");
  EXPECT_EQ(shortTime("de_DE", "Asia/Tokyo", kEvening), "07:13");
  EXPECT_EQ(shortTime("de_DE", "America/New_York", kEvening),
            icuShortTime("de_DE", "America/New_York", kEvening));
}

TEST(DateFormatter, TwentyFourHourSwitchOnTwelveHourLocales) {
  EXPECT_EQ(shortTime("en_US", "UTC", kEvening, HourCycle::h24), "22:13");
  EXPECT_EQ(shortTime("en_US", "UTC", kMorning, HourCycle::h24), "09:41");
  EXPECT_EQ(shortTime("ko_KR", "UTC", kEvening, HourCycle::h24), "22:13");
  EXPECT_EQ(shortTime("zh_TW", "UTC", kEvening, HourCycle::h24), "22:13");
  // Already 24-hour: unchanged.
  EXPECT_EQ(shortTime("de_DE", "UTC", kMorning, HourCycle::h24), "09:41");
  EXPECT_EQ(shortTime("ja_JP", "UTC", kMorning, HourCycle::h24), "9:41");
}

TEST(DateFormatter, TwelveHourSwitchOnTwentyFourHourLocales) {
  EXPECT_EQ(shortTime("de_DE", "UTC", kEvening, HourCycle::h12), "10:13\u202FPM");
  EXPECT_EQ(shortTime("ja_JP", "UTC", kEvening, HourCycle::h12), "午後10:13");
  EXPECT_EQ(shortTime("en_GB", "UTC", kMorning, HourCycle::h12), "9:41\u202Fam");
  // Already 12-hour: unchanged.
  EXPECT_EQ(shortTime("en_US", "UTC", kEvening, HourCycle::h12), "10:13\u202FPM");
  EXPECT_EQ(shortTime("ko_KR", "UTC", kEvening, HourCycle::h12), "오후 10:13");
}

TEST(DateFormatter, HourCyclePatternRewrite) {
  EXPECT_EQ(patternForHourCycle("h:mm\u202Fa", "en_US", HourCycle::h24), "HH:mm");
  EXPECT_EQ(patternForHourCycle("a h:mm", "ko_KR", HourCycle::h24), "HH:mm");
  EXPECT_EQ(patternForHourCycle("h:mm:ss a z", "en_US", HourCycle::h24), "HH:mm:ss z");
  EXPECT_EQ(patternForHourCycle("HH:mm", "de_DE", HourCycle::h12), "h:mm\u202Fa");
  EXPECT_EQ(patternForHourCycle("H:mm", "ja_JP", HourCycle::h12), "ah:mm");
  EXPECT_EQ(patternForHourCycle("HH:mm:ss z", "de_DE", HourCycle::h12), "h:mm:ss\u202Fa z");
  // Quoted letters are text, not fields.
  EXPECT_EQ(patternForHourCycle("HH 'h' mm", "fr_CA", HourCycle::h12), "h 'h' mm\u202Fa");
  EXPECT_EQ(patternForHourCycle("h 'o''clock' a", "en_US", HourCycle::h24), "HH 'o''clock'");
  EXPECT_EQ(patternForHourCycle("h:mm a", "en_US", HourCycle::localeDefault), "h:mm a");
}

TEST(DateFormatter, StylesAndEmptyFormatter) {
  DateFormatter f;
  EXPECT_EQ(f.stringFromDate(kEvening), "");
  EXPECT_EQ(f.dateFormat(), "");
  f.setTimeStyle(DateFormatterStyle::shortStyle);
  f.setHourCycle(HourCycle::h24);
  EXPECT_EQ(f.dateFormat(), "HH:mm");
  f.setDateStyle(DateFormatterStyle::shortStyle);
  EXPECT_EQ(f.stringFromDate(kEvening), "11/14/23, 22:13");
}

}  // namespace
}  // namespace foundation
