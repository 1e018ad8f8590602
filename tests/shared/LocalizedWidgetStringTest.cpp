#include "shared/LocalizedWidgetString.h"

#include <gtest/gtest.h>

#include "support/TestDevice.h"

namespace tamsa {
namespace {

using testing_support::StoreValues;
using testing_support::TestDevice;

TestDevice twoLanguages() {
  TestDevice t;
  t.withTable("en", {{"widget_income", "Income"}, {"widget_expense", "Expense"}})
      .withTable("de", {{"widget_income", "Einnahmen"}})
      .withPreferredLanguages({"en"});
  return t;
}

TEST(LocalizedWidgetString, SystemLanguageWithoutOverride) {
  auto t = twoLanguages();
  t.withStore({});
  EXPECT_EQ(localizedWidgetString(t.device(), "widget_income"), "Income");
}

TEST(LocalizedWidgetString, OverrideNamingACarriedLanguageWins) {
  auto t = twoLanguages();
  t.withStore({{"widget_language", std::string("de")}});
  EXPECT_EQ(localizedWidgetString(t.device(), "widget_income"), "Einnahmen");
}

TEST(LocalizedWidgetString, KeyMissingFromOverrideLanguageGivesSystemLanguageText) {
  auto t = twoLanguages();
  t.withStore({{"widget_language", std::string("de")}});
  EXPECT_EQ(localizedWidgetString(t.device(), "widget_expense"), "Expense");
}

TEST(LocalizedWidgetString, KeyInNoTableComesBackAsItself) {
  auto t = twoLanguages();
  t.withStore({{"widget_language", std::string("de")}});
  EXPECT_EQ(localizedWidgetString(t.device(), "widget_period_day"), "widget_period_day");
}

TEST(LocalizedWidgetString, UnusableOverridesFallBackToSystemLanguage) {
  for (std::string language : std::vector<std::string>{"", "fr", "de/../de", "../bundle/de", "de/", ".", "..", "de\\x",
                               std::string("de\0x", 4), "DE"}) {
    auto t = twoLanguages();
    t.withStore({{"widget_language", language}});
    EXPECT_EQ(localizedWidgetString(t.device(), "widget_income"), "Income") << language;
  }
}

TEST(LocalizedWidgetString, OverrideCannotReachADirectoryOutsideTheBundle) {
  auto t = twoLanguages();
  t.fileSystem().addFile("/evil.lproj/Localizable.strings", "\"widget_income\" = \"Pwned\";");
  t.withStore({{"widget_language", std::string("../evil")}});
  EXPECT_EQ(localizedWidgetString(t.device(), "widget_income"), "Income");
}

TEST(LocalizedWidgetString, NonTextOverrideIsReadAsTextTheWayTheStoreCoercesIt) {
  // A number stored under the key reads as its digits; no "1.lproj" exists, so no override.
  auto t = twoLanguages();
  t.withStore({{"widget_language", testing_support::Integer{1}}});
  EXPECT_EQ(localizedWidgetString(t.device(), "widget_income"), "Income");
}

TEST(LocalizedWidgetString, MissingContainerGivesSystemLanguage) {
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

TEST(LocalizedWidgetString, SystemLanguageFollowsPreferredLanguages) {
  auto t = twoLanguages();
  t.withPreferredLanguages({"de-AT", "en"}).withStore({});
  EXPECT_EQ(localizedWidgetString(t.device(), "widget_income"), "Einnahmen");
  // German lacks the key: the system-language table is German, so the key itself.
  EXPECT_EQ(localizedWidgetString(t.device(), "widget_expense"), "widget_expense");
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
