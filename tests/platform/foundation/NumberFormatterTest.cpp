// The decimal formatter must write exactly what ICU's own decimal format writes for the same
// settings (unum_open(UNUM_DECIMAL) configured alike), and English for a locale ICU cannot use.
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
