// The decimal formatter must write exactly what ICU's own decimal format writes for the same
// settings, so the reference here is unum_open(UNUM_DECIMAL) configured alike.
#include "platform/foundation/NumberFormatter.h"

#include <gtest/gtest.h>
#include <unicode/unistr.h>
#include <unicode/unum.h>

#include <cmath>
#include <limits>
#include <random>
#include <thread>
#include <vector>

namespace foundation {
namespace {

std::string icuDecimal(const char* locale, int minFraction, int maxFraction, double value) {
  UErrorCode status = U_ZERO_ERROR;
  UNumberFormat* format = unum_open(UNUM_DECIMAL, nullptr, 0, locale, nullptr, &status);
  unum_setAttribute(format, UNUM_MIN_FRACTION_DIGITS, minFraction);
  unum_setAttribute(format, UNUM_MAX_FRACTION_DIGITS, maxFraction);
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

TEST(NumberFormatter, GroupsAndCutsToTwoFractionDigitsHalfEven) {
  const NumberFormatter f = amountStyle();
  EXPECT_EQ(f.stringFromNumber(1234567.891), "1,234,567.89");
  EXPECT_EQ(f.stringFromNumber(4200), "4,200");
  EXPECT_EQ(f.stringFromNumber(1234.5), "1,234.5");
  EXPECT_EQ(f.stringFromNumber(0.125), "0.12");
  EXPECT_EQ(f.stringFromNumber(0.375), "0.38");
  // Shortest round-tripping decimal, then half-even.
  EXPECT_EQ(f.stringFromNumber(2.675), "2.68");
  EXPECT_EQ(f.stringFromNumber(1.005), "1");
  EXPECT_EQ(f.stringFromNumber(0.015), "0.02");
  EXPECT_EQ(f.stringFromNumber(0.005), "0");
  EXPECT_EQ(f.stringFromNumber(999.995), "1,000");
}

TEST(NumberFormatter, NonFiniteAndZeroAsIcuWritesThem) {
  const NumberFormatter f = amountStyle();
  EXPECT_EQ(f.stringFromNumber(0), "0");
  EXPECT_EQ(f.stringFromNumber(-0.0), icuDecimal("en_US", 0, 2, -0.0));
  EXPECT_EQ(f.stringFromNumber(std::numeric_limits<double>::quiet_NaN()), "NaN");
  EXPECT_EQ(f.stringFromNumber(std::numeric_limits<double>::infinity()), "∞");
  EXPECT_EQ(f.stringFromNumber(-std::numeric_limits<double>::infinity()), "-∞");
  EXPECT_EQ(f.stringFromNumber(1e20), "100,000,000,000,000,000,000");
}

TEST(NumberFormatter, MatchesIcuDecimalOverManyValuesAndLocales) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-4, 15);
  for (const char* locale : {"en_US", "de_DE", "fr_FR", "hi_IN", "ar_EG"}) {
    const NumberFormatter f = amountStyle(locale);
    for (int i = 0; i < 300; ++i) {
      const double value = mantissa(random) * std::pow(10.0, exponent(random));
      ASSERT_EQ(f.stringFromNumber(value), icuDecimal(locale, 0, 2, value))
          << locale << " " << value;
    }
  }
}

TEST(NumberFormatter, FractionDigitBoundsKeepEachOtherConsistent) {
  NumberFormatter f;
  EXPECT_EQ(f.stringFromNumber(1.23456), icuDecimal("en_US", 0, 3, 1.23456));
  f.setMinimumFractionDigits(4);
  EXPECT_EQ(f.maximumFractionDigits(), 4);
  EXPECT_EQ(f.stringFromNumber(1.5), "1.5000");
  f.setMaximumFractionDigits(1);
  EXPECT_EQ(f.minimumFractionDigits(), 1);
  EXPECT_EQ(f.stringFromNumber(1.25), "1.2");
  // A later locale change keeps the digits.
  f.setLocale("de_DE");
  EXPECT_EQ(f.stringFromNumber(1234), "1.234,0");
}

TEST(NumberFormatter, ConcurrentFormattingAgreesWithSerial) {
  const NumberFormatter f = amountStyle();
  std::vector<double> values;
  for (int i = 0; i < 2000; ++i) values.push_back(i * 1234.567 - 1e6);
  std::vector<std::string> expected;
  for (double v : values) expected.push_back(*f.stringFromNumber(v));
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (size_t i = 0; i < values.size(); ++i)
        if (f.stringFromNumber(values[i]) != expected[i]) ++mismatches[t];
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace foundation
