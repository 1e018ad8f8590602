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
std::string lookup(testing_support::StoreValue language, const char* key,
                   std::vector<std::string> preferred = {"en"}) {
  return localizedWidgetString(
      twoLanguages(std::move(preferred)).withStore({{"widget_language", language}}).device(), key);
}

TEST(LocalizedWidgetString, RecordedLanguageThenSystemLanguageThenTheKey) {
  using S = std::string;
  EXPECT_EQ(lookup(S("de"), "widget_income"), "Einnahmen");
  EXPECT_EQ(lookup(S("de"), "widget_expense"), "Expense");
  EXPECT_EQ(lookup(S("de"), "widget_period_day"), "widget_period_day");
  EXPECT_EQ(lookup(S(""), "widget_income", {"de-AT", "en"}), "Einnahmen");
  EXPECT_EQ(lookup(S("en"), "widget_expense", {"de-AT", "en"}), "Expense");
  EXPECT_EQ(lookup(S("fr"), "widget_expense", {"de-AT", "en"}), "widget_expense");
  EXPECT_EQ(lookup(testing_support::Integer{1}, "widget_income"), "Income");  // "1" names no table
  // Pseudo-languages are made by the host for --language only: the store never reaches them.
  const S longName(5000, 'd');
  for (S language : {"de/../de", "../bundle/de", "../evil", "de/", ".", "..", "DE", "de\\x",
                     "en-XA", "EN-XA", "en_XA", "en-XL", "ar-XB", "de.lproj", longName.c_str()}) {
    auto device = twoLanguages().withStore({{"widget_language", language}}).device();
    EXPECT_EQ(localizedWidgetString(device, "widget_income"), "Income") << language;
    EXPECT_EQ(widgetTextLanguage(device), "en") << language;
  }
  EXPECT_EQ(lookup(S("de\0x", 4), "widget_income"), "Income");
  auto unopenable = twoLanguages({"de"}).withoutContainer().device();
  EXPECT_EQ(localizedWidgetString(unopenable, "widget_income"), "Einnahmen");
}

TEST(LocalizedWidgetString, ChangeOfRecordedLanguageShowsAtTheNextCall) {
  auto t = twoLanguages();
  auto device = t.withStore({{"widget_language", std::string("de")}}).device();
  EXPECT_EQ(localizedWidgetString(device, "widget_income"), "Einnahmen");
  t.withStore({{"widget_language", std::string("en")}});
  EXPECT_EQ(localizedWidgetString(device, "widget_income"), "Income");
}

}  // namespace
}  // namespace tamsa
