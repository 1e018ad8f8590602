// The formatters: short times in a zone, the 24-hour switch's rewrite of the hour field in both
// directions, decimals exactly as ICU's own decimal format writes them (unum_open(UNUM_DECIMAL)
// configured alike), and locale identifiers ICU cannot use (ICU itself crashes on some).
#include <gtest/gtest.h>
#include <unicode/unistr.h>
#include <unicode/unum.h>

#include <cmath>
#include <random>

#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/NumberFormatter.h"

namespace foundation {
namespace {

// 2023-11-14 22:13:20 UTC.
constexpr Date kEvening{1700000000};

std::string shortTime(const std::string& locale, Date date,
                      HourCycle cycle = HourCycle::localeDefault) {
  DateFormatter f;
  f.setTimeStyle(DateFormatterStyle::shortStyle);
  f.setLocale(locale);
  f.setTimeZone("UTC");
  f.setHourCycle(cycle);
  return f.stringFromDate(date);
}

TEST(DateFormatter, HourCycleSwitchInBothDirections) {
  using enum HourCycle;
  const std::tuple<const char*, HourCycle, const char*> cases[] = {
      {"en_US", h24, "22:13"},         {"ko_KR", h24, "22:13"},     {"ja_JP", h24, "22:13"},
      {"de_DE", h12, "10:13\u202FPM"}, {"ja_JP", h12, "午後10:13"}, {"en_GB", h12, "10:13\u202Fpm"},
      {"ko_KR", h12, "오후 10:13"},
  };
  for (const auto& [locale, cycle, text] : cases)
    EXPECT_EQ(shortTime(locale, kEvening, cycle), text) << locale;
  const std::tuple<const char*, const char*, HourCycle, const char*> patterns[] = {
      {"a h:mm", "ko_KR", h24, "HH:mm"},
      {"H:mm", "ja_JP", h12, "ah:mm"},
      {"HH:mm", "ko_KR", h12, "a h:mm"},  // the marker first, with the locale's space after it
      {"HH:mm:ss z", "de_DE", h12, "h:mm:ss\u202Fa z"},
      {"HH 'h' mm", "fr_CA", h12, "h 'h' mm\u202Fa"},  // quoted letters are text
      {"h 'o''clock' a", "en_US", h24, "HH 'o''clock'"},
      {"h:mm a", "en_US", localeDefault, "h:mm a"},
  };
  for (const auto& [pattern, locale, cycle, rewritten] : patterns)
    EXPECT_EQ(patternForHourCycle(pattern, locale, cycle), rewritten) << pattern;
}

TEST(Locale, UnusableIdentifiersAreRefusedAndFormatAsEnglish) {
  EXPECT_EQ(canonicalLocaleIdentifier("de-DE"), "de_DE");
  EXPECT_EQ(canonicalLocaleIdentifier("ja_JP@calendar=japanese"), "ja_JP@calendar=japanese");
  for (const std::string& identifier :
       std::vector<std::string>{"abcdefghijkl", "en_US@collation=", "en_US@=x", "1234567890123",
                                "C", "zz_ZZ", "", "en US", std::string(200, 'a')}) {
    EXPECT_EQ(canonicalLocaleIdentifier(identifier), std::nullopt) << identifier;
    EXPECT_EQ(shortTime(identifier, kEvening), "10:13\u202FPM") << identifier;
  }
}

TEST(NumberFormatter, MatchesIcuDecimalOverManyValuesAndLocales) {
  std::mt19937_64 random(7);
  for (const char* locale : {"en_US", "de_DE", "hi_IN", "ar_EG", "1234567890123"}) {
    NumberFormatter f;
    f.setLocale(locale);
    f.setMinimumFractionDigits(3);
    f.setMaximumFractionDigits(2);  // lowers the minimum to 2
    UErrorCode status = U_ZERO_ERROR;
    UNumberFormat* icu =
        unum_open(UNUM_DECIMAL, nullptr, 0, *locale == '1' ? "en_US" : locale, nullptr, &status);
    unum_setAttribute(icu, UNUM_MAX_FRACTION_DIGITS, 2);
    unum_setAttribute(icu, UNUM_MIN_FRACTION_DIGITS, 2);
    for (int i = 0; i < 300; ++i) {
      const double value = i < 5 ? std::vector<double>{-0.0, 2.675, 999.995, 1e20, NAN}[i]
                                 : std::ldexp(double(random()) / 1e19 - 0.9, i % 60 - 10);
      UChar buffer[256];
      int32_t length = unum_formatDouble(icu, value, buffer, 256, nullptr, &status);
      std::string want;
      ASSERT_EQ(f.stringFromNumber(value), icu::UnicodeString(buffer, length).toUTF8String(want))
          << locale << " " << value;
    }
    unum_close(icu);
  }
}

}  // namespace
}  // namespace foundation
