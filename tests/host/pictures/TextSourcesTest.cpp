// Texts found again in the tables they came from: the in-app language's first, then the system
// language's; formats around their number; a pseudo-language's in the development table.
#include "host/pictures/TextSources.h"

#include <gtest/gtest.h>

#include "support/TestDevice.h"

namespace host {
namespace {

using testing_support::TestDevice;

TEST(TextSources, NameTheTableKeyAndLineOfEachText) {
  TestDevice t;
  t.withTable("en", {{"widget_balance", "Balance"}, {"widget_wallets_count", "%@ Wallets"}})
      .withTable("de", {{"widget_income", "Einnahmen"}, {"widget_wallets_count", "%1$@ Konten"}})
      .withStore({{"widget_language", std::string("de")}});
  TextSources sources = TextSources::of(t.device());
  struct Case {
    const char* text;
    std::optional<TextSource> want;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"Einnahmen", TextSource{"de.lproj/Localizable.strings", "widget_income", 1}},
           {"12 Konten", TextSource{"de.lproj/Localizable.strings", "widget_wallets_count", 2}},
           {"Balance", TextSource{"en.lproj/Localizable.strings", "widget_balance", 1}},
           {"-3 Wallets", TextSource{"en.lproj/Localizable.strings", "widget_wallets_count", 2}},
           {"x Wallets", std::nullopt},
           {"$1,234.56", std::nullopt},
       })
    EXPECT_EQ(sources.find(c.text), c.want) << c.text;

  // A pseudo-language's texts come from the development table, in the pseudo-language.
  const TextSources pseudo = TextSources::of(t.withPreferredLanguages({"en-XA"}).device());
  const swiftui::TextOrigins origins = pseudo.origins("en-XA");
  swiftui::TextOrigin made = origins("[Ɓåļåñçé one]", false);
  EXPECT_EQ(made.source, (TextSource{"en.lproj/Localizable.strings", "widget_balance", 1}));
  EXPECT_EQ(made.language, "en-XA");
  EXPECT_EQ(origins("Balance", false), swiftui::TextOrigin{});
}

}  // namespace
}  // namespace host
