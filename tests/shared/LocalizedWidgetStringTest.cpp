#include "shared/LocalizedWidgetString.h"

#include <gtest/gtest.h>

#include "support/TestDevice.h"

namespace tamsa {
namespace {

using testing_support::TestDevice;

TestDevice twoLanguages(std::vector<std::string> preferred = {"en"}) {
  TestDevice t;
  t.withTable("en", {{"widget_income", "Income"}, {"widget_expense", "Expense"}})
      .withTable("de", {{"widget_income", "Einnahmen"}})
      .withPreferredLanguages(std::move(preferred));
  t.fileSystem().addFile("/evil.lproj/Localizable.strings", "\"widget_income\" = \"Pwned\";");
  return t;
}

// The recorded language's table, then the system language's, then the key itself. A recorded
// name that is no plain folder name, or names no table, falls back to the system language.
TEST(LocalizedWidgetString, RecordedLanguageThenSystemLanguageThenTheKey) {
  struct Case {
    testing_support::StoreValue language;
    std::vector<std::string> preferred;
    const char* key;
    const char* expected;
  };
  for (const Case& c : std::vector<Case>{
           {std::string("de"), {"en"}, "widget_income", "Einnahmen"},
           {std::string("de"), {"en"}, "widget_expense", "Expense"},
           {std::string("de"), {"en"}, "widget_period_day", "widget_period_day"},
           {std::string(""), {"de-AT", "en"}, "widget_income", "Einnahmen"},
           {std::string("en"), {"de-AT", "en"}, "widget_expense", "Expense"},
           {std::string("fr"), {"de-AT", "en"}, "widget_expense", "widget_expense"},
           {testing_support::Integer{1}, {"en"}, "widget_income", "Income"},
       }) {
    EXPECT_EQ(
        localizedWidgetString(
            twoLanguages(c.preferred).withStore({{"widget_language", c.language}}).device(), c.key),
        c.expected)
        << c.key;
  }
  for (std::string language : std::vector<std::string>{"de/../de", "../bundle/de", "../evil", "de/",
                                                       ".", "..", "DE", std::string("de\0x", 4)})
    EXPECT_EQ(
        localizedWidgetString(twoLanguages().withStore({{"widget_language", language}}).device(),
                              "widget_income"),
        "Income")
        << language;
  EXPECT_EQ(
      localizedWidgetString(twoLanguages({"de"}).withoutContainer().device(), "widget_income"),
      "Einnahmen");
}

TEST(LocalizedWidgetString, ChangeOfRecordedLanguageShowsAtTheNextCall) {
  auto t = twoLanguages();
  auto device = t.withStore({{"widget_language", std::string("de")}}).device();
  EXPECT_EQ(localizedWidgetString(device, "widget_income"), "Einnahmen");
  t.withStore({{"widget_language", std::string("en")}});
  EXPECT_EQ(localizedWidgetString(device, "widget_income"), "Income");
}

TEST(PlainLocalizationName, OneDirectoryNameOnly) {
  EXPECT_TRUE(isPlainLocalizationName("zh-Hans"));
  EXPECT_TRUE(isPlainLocalizationName("..."));
  for (std::string name : {"", "a/b", ".../", ".", ".."})
    EXPECT_FALSE(isPlainLocalizationName(name)) << name;
}

}  // namespace
}  // namespace tamsa
