// The decimal formatter must write exactly what ICU's own decimal format writes for the same
// settings, so the reference here is unum_open(UNUM_DECIMAL) configured alike.
#include "platform/foundation/NumberFormatter.h"

#include <gtest/gtest.h>
#include <unicode/unistr.h>
#include <unicode/unum.h>

#include <cmath>
#include <random>
#include <thread>

namespace foundation {
namespace {

std::string icuDecimal(const char* locale, double value) {
  UErrorCode status = U_ZERO_ERROR;
  UNumberFormat* format = unum_open(UNUM_DECIMAL, nullptr, 0, locale, nullptr, &status);
  unum_setAttribute(format, UNUM_MAX_FRACTION_DIGITS, 2);
  UChar buffer[1024];
  int32_t length = unum_formatDouble(format, value, buffer, 1024, nullptr, &status);
  unum_close(format);
  std::string out;
  icu::UnicodeString(buffer, length).toUTF8String(out);
  return out;
}

NumberFormatter amountStyle(const std::string& locale = "en_US") {
  NumberFormatter f;
  f.setLocale(locale);
  f.setMinimumFractionDigits(0);
  f.setMaximumFractionDigits(2);
  return f;
}

TEST(NumberFormatter, MatchesIcuDecimalOverManyValuesAndLocales) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-4, 15);
  for (const char* locale : {"en_US", "de_DE", "fr_FR", "hi_IN", "ar_EG"}) {
    const NumberFormatter f = amountStyle(locale);
    for (double special : {0.0, -0.0, 2.675, 0.015, 999.995, 1e20, double(NAN), double(INFINITY)})
      EXPECT_EQ(f.stringFromNumber(special), icuDecimal(locale, special)) << locale << special;
    for (int i = 0; i < 300; ++i) {
      const double value = mantissa(random) * std::pow(10.0, exponent(random));
      ASSERT_EQ(f.stringFromNumber(value), icuDecimal(locale, value)) << locale << " " << value;
    }
  }
  EXPECT_EQ(amountStyle().stringFromNumber(1234567.891), "1,234,567.89");
}

TEST(NumberFormatter, FractionDigitBoundsKeepEachOtherConsistentAcrossLocales) {
  NumberFormatter f;
  EXPECT_EQ(f.stringFromNumber(1.23456), "1.235");
  f.setMinimumFractionDigits(4);
  EXPECT_EQ(f.maximumFractionDigits(), 4);
  f.setMaximumFractionDigits(1);
  EXPECT_EQ(f.minimumFractionDigits(), 1);
  EXPECT_EQ(f.stringFromNumber(1.25), "1.2");
  f.setLocale("de_DE");
  EXPECT_EQ(f.stringFromNumber(1234), "1.234,0");
}

TEST(NumberFormatter, ConcurrentFormattingAgreesWithSerial) {
  const NumberFormatter f = amountStyle();
  std::vector<std::string> expected;
  for (int i = 0; i < 2000; ++i) expected.push_back(*f.stringFromNumber(i * 1234.567));
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i)
        if (f.stringFromNumber(i * 1234.567) != expected[i]) ++mismatches[t];
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace foundation
