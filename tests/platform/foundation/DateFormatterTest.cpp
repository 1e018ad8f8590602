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

std::string icuShortTime(const char* locale, Date date) {
  UErrorCode status = U_ZERO_ERROR;
  UDateFormat* format = udat_open(UDAT_SHORT, UDAT_NONE, locale, u"UTC", -1, nullptr, 0, &status);
  UChar buffer[128];
  int32_t length =
      udat_format(format, date.secondsSince1970 * 1000.0, buffer, 128, nullptr, &status);
  udat_close(format);
  std::string out;
  icu::UnicodeString(buffer, length).toUTF8String(out);
  return out;
}

std::string shortTime(const std::string& locale, Date date,
                      HourCycle cycle = HourCycle::localeDefault, const std::string& zone = "UTC") {
  DateFormatter f;
  f.setTimeStyle(DateFormatterStyle::shortStyle);
  f.setLocale(locale);
  f.setTimeZone(zone);
  f.setHourCycle(cycle);
  return f.stringFromDate(date);
}

TEST(DateFormatter, ShortTimeIsIcuShortTimeForTheLocaleAndZone) {
  for (const char* locale : {"en_US", "de_DE", "fr_FR", "ja_JP", "ko_KR", "zh_TW", "ar_EG"})
    for (Date date : {kEvening, kMorning})
      EXPECT_EQ(shortTime(locale, date), icuShortTime(locale, date)) << locale;
  EXPECT_EQ(shortTime("en_US", kEvening, HourCycle::localeDefault, "America/New_York"),
            "5:13\u202FPM");
  // Already the next day in Tokyo; still only the time.
  EXPECT_EQ(shortTime("de_DE", kEvening, HourCycle::localeDefault, "Asia/Tokyo"), "07:13");
}

TEST(DateFormatter, HourCycleSwitchInBothDirections) {
  struct Case {
    const char* locale;
    Date date;
    HourCycle cycle;
    const char* text;
  };
  for (const Case& c : std::vector<Case>{{"en_US", kEvening, HourCycle::h24, "22:13"},
                                         {"en_US", kMorning, HourCycle::h24, "09:41"},
                                         {"ko_KR", kEvening, HourCycle::h24, "22:13"},
                                         {"ja_JP", kMorning, HourCycle::h24, "9:41"},
                                         {"de_DE", kEvening, HourCycle::h12, "10:13\u202FPM"},
                                         {"ja_JP", kEvening, HourCycle::h12, "午後10:13"},
                                         {"en_GB", kMorning, HourCycle::h12, "9:41\u202Fam"},
                                         {"ko_KR", kEvening, HourCycle::h12, "오후 10:13"}})
    EXPECT_EQ(shortTime(c.locale, c.date, c.cycle), c.text) << c.locale;
}

TEST(DateFormatter, HourCyclePatternRewrite) {
  struct Case {
    const char* pattern;
    const char* locale;
    HourCycle cycle;
    const char* rewritten;
  };
  for (const Case& c : std::vector<Case>{
           {"h:mm\u202Fa", "en_US", HourCycle::h24, "HH:mm"},
           {"a h:mm", "ko_KR", HourCycle::h24, "HH:mm"},
           {"h:mm:ss a z", "en_US", HourCycle::h24, "HH:mm:ss z"},
           {"H:mm", "ja_JP", HourCycle::h12, "ah:mm"},
           {"HH:mm:ss z", "de_DE", HourCycle::h12, "h:mm:ss\u202Fa z"},
           {"HH 'h' mm", "fr_CA", HourCycle::h12, "h 'h' mm\u202Fa"},  // quoted letters are text
           {"h 'o''clock' a", "en_US", HourCycle::h24, "HH 'o''clock'"},
           {"h:mm a", "en_US", HourCycle::localeDefault, "h:mm a"}})
    EXPECT_EQ(patternForHourCycle(c.pattern, c.locale, c.cycle), c.rewritten) << c.pattern;
  DateFormatter f;
  EXPECT_EQ(f.stringFromDate(kEvening), "");
  f.setTimeStyle(DateFormatterStyle::shortStyle);
  f.setDateStyle(DateFormatterStyle::shortStyle);
  f.setHourCycle(HourCycle::h24);
  EXPECT_EQ(f.stringFromDate(kEvening), "11/14/23, 22:13");
}

}  // namespace
}  // namespace foundation
