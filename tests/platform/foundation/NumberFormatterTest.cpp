// The decimal formatter must write exactly what ICU's own decimal format writes for the same
// settings, so the reference here is unum_open(UNUM_DECIMAL) configured alike.
#include "platform/foundation/NumberFormatter.h"

#include <gtest/gtest.h>
#include <unicode/unistr.h>
#include <unicode/unum.h>

#include <cmath>
#include <random>

namespace foundation {
namespace {

TEST(NumberFormatter, MatchesIcuDecimalOverManyValuesAndLocales) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-4, 15);
  for (const char* locale : {"en_US", "de_DE", "fr_FR", "hi_IN", "ar_EG", "1234567890123"}) {
    NumberFormatter f;
    f.setLocale(locale);
    f.setMaximumFractionDigits(2);
    UErrorCode status = U_ZERO_ERROR;
    const char* icuLocale = std::isdigit(locale[0]) ? "en_US" : locale;  // unusable: English
    UNumberFormat* icu = unum_open(UNUM_DECIMAL, nullptr, 0, icuLocale, nullptr, &status);
    unum_setAttribute(icu, UNUM_MAX_FRACTION_DIGITS, 2);
    for (int i = 0; i < 300; ++i) {
      const double value = i < 6 ? std::vector<double>{-0.0, 2.675, 999.995, 1e20, NAN, INFINITY}[i]
                                 : mantissa(random) * std::pow(10.0, exponent(random));
      UChar buffer[256];
      int32_t length = unum_formatDouble(icu, value, buffer, 256, nullptr, &status);
      std::string want;
      ASSERT_EQ(f.stringFromNumber(value), icu::UnicodeString(buffer, length).toUTF8String(want))
          << locale << " " << value;
    }
    unum_close(icu);
  }
}

TEST(NumberFormatter, FractionDigitBoundsKeepEachOtherConsistentAcrossLocales) {
  NumberFormatter f;
  EXPECT_EQ(f.stringFromNumber(1.23456), "1.235");
  f.setMinimumFractionDigits(4);
  EXPECT_EQ(f.maximumFractionDigits(), 4);
  f.setMaximumFractionDigits(1);
  EXPECT_EQ(f.minimumFractionDigits(), 1);
  f.setLocale("de_DE");
  EXPECT_EQ(f.stringFromNumber(1234.25), "1.234,2");
}

}  // namespace
}  // namespace foundation
