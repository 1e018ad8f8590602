#include "shared/LocalizedWidgetString.h"

#include <gtest/gtest.h>

#include "support/TestDevice.h"

namespace tamsa {
namespace {

using testing_support::TestDevice;

TestDevice twoLanguages() {
  TestDevice t;
  t.withTable("en", {{"widget_income", "Income"}, {"widget_expense", "Expense"}})
      .withTable("de", {{"widget_income", "Einnahmen"}})
      .withPreferredLanguages({"en"});
  return t;
}

TEST(LocalizedWidgetString, OverrideThenSystemLanguageThenTheKey) {
  struct Case {
    const char* what;
    std::optional<testing_support::StoreValue> language;
    std::vector<std::string> preferred;
    const char* key;
    const char* expected;
  };
  for (const Case& c : std::vector<Case>{
           {"no override", std::nullopt, {"en"}, "widget_income", "Income"},
           {"override naming a carried language",
            std::string("de"),
            {"en"},
            "widget_income",
            "Einnahmen"},
           {"key missing from the override's table",
            std::string("de"),
            {"en"},
            "widget_expense",
            "Expense"},
           {"key in no table", std::string("de"), {"en"}, "widget_period_day", "widget_period_day"},
           // Read as text the way the store coerces it: "1" names no table.
           {"number stored as the override",
            testing_support::Integer{1},
            {"en"},
            "widget_income",
            "Income"},
           {"system language from the preferred ones",
            std::nullopt,
            {"de-AT", "en"},
            "widget_income",
            "Einnahmen"},
           {"system language's table lacks the key",
            std::nullopt,
            {"de-AT", "en"},
            "widget_expense",
            "widget_expense"},
       }) {
    auto t = twoLanguages();
    t.withPreferredLanguages(c.preferred);
    if (c.language)
      t.withStore({{"widget_language", *c.language}});
    else
      t.withStore({});
    EXPECT_EQ(localizedWidgetString(t.device(), c.key), c.expected) << c.what;
  }
}

TEST(LocalizedWidgetString, UnusableOverridesFallBackToSystemLanguage) {
  for (std::string language :
       std::vector<std::string>{"", "fr", "de/../de", "../bundle/de", "../evil", "de/", ".", "..",
                                "de\\x", std::string("de\0x", 4), "DE"}) {
    auto t = twoLanguages();
    t.fileSystem().addFile("/evil.lproj/Localizable.strings", "\"widget_income\" = \"Pwned\";");
    t.withStore({{"widget_language", language}});
    EXPECT_EQ(localizedWidgetString(t.device(), "widget_income"), "Income") << language;
  }
  auto t = twoLanguages();
  t.withoutContainer();
  EXPECT_EQ(localizedWidgetString(t.device(), "widget_income"), "Income");
}

TEST(LocalizedWidgetString, ChangeOfRecordedLanguageShowsAtTheNextCall) {
  auto t = twoLanguages();
  t.withStore({{"widget_language", std::string("de")}});
  auto device = t.device();
  EXPECT_EQ(localizedWidgetString(device, "widget_income"), "Einnahmen");
  t.withStore({{"widget_language", std::string("en")}});
  EXPECT_EQ(localizedWidgetString(device, "widget_income"), "Income");
}

TEST(PlainLocalizationName, AcceptsOnlyOneDirectoryName) {
  EXPECT_TRUE(isPlainLocalizationName("zh-Hans"));
  EXPECT_TRUE(isPlainLocalizationName("pt-BR"));
  EXPECT_FALSE(isPlainLocalizationName(""));
  EXPECT_FALSE(isPlainLocalizationName("a/b"));
  EXPECT_FALSE(isPlainLocalizationName("..." + std::string("/")));
  EXPECT_TRUE(isPlainLocalizationName("..."));
}

}  // namespace
}  // namespace tamsa
