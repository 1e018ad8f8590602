// Locale identifiers from the command line and the environment: which ones ICU can use, and that
// the formatters survive the rest (ICU itself crashes on some of them).
#include "platform/foundation/Locale.h"

#include <gtest/gtest.h>

#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/NumberFormatter.h"

namespace foundation {
namespace {

TEST(Locale, UnusableIdentifiersAreRefusedAndFormatAsEnglish) {
  for (const auto& [identifier, canonical] :
       std::vector<std::pair<std::string, std::optional<std::string>>>{
           {"de_DE", "de_DE"},
           {"de-DE", "de_DE"},
           {"de_DE.UTF-8", "de_DE"},
           {"ja_JP@calendar=japanese", "ja_JP@calendar=japanese"},
           {"abcdefghijkl", std::nullopt},
           {"en_US@collation=", std::nullopt},
           {"en_US@=x", std::nullopt},
           {"1234567890123", std::nullopt},
           {"C", std::nullopt},
           {"zz_ZZ", std::nullopt},
           {"", std::nullopt},
           {"en US", std::nullopt},
           {std::string(200, 'a'), std::nullopt}}) {
    EXPECT_EQ(canonicalLocaleIdentifier(identifier), canonical) << identifier;
    DateFormatter date;
    date.setTimeStyle(DateFormatterStyle::shortStyle);
    date.setLocale(identifier);
    NumberFormatter number;
    number.setLocale(identifier);
    if (!canonical) {
      EXPECT_EQ(date.stringFromDate(Date{1700000000}), "10:13\u202FPM") << identifier;
      EXPECT_EQ(number.stringFromNumber(1234.5), "1,234.5") << identifier;
    }
  }
}

}  // namespace
}  // namespace foundation
