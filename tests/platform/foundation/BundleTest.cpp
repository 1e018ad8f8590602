#include "platform/foundation/Bundle.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/os/MemoryFileSystem.h"

namespace foundation {
namespace {

using Languages = std::vector<std::string>;

TEST(ChooseLocalization, MatchesExactlyThenDropsSubtags) {
  Languages available = {"de", "en", "pt-BR", "pt", "zh-Hans", "zh-Hant"};
  EXPECT_EQ(chooseLocalization({"zh-Hans-CN"}, available, "en"), "zh-Hans");
  EXPECT_EQ(chooseLocalization({"zh_Hant_TW"}, available, "en"), "zh-Hant");
  EXPECT_EQ(chooseLocalization({"pt_BR"}, available, "en"), "pt-BR");
  EXPECT_EQ(chooseLocalization({"PT-br"}, available, "en"), "pt-BR");
  EXPECT_EQ(chooseLocalization({"pt-PT"}, available, "en"), "pt");
  EXPECT_EQ(chooseLocalization({"de-DE"}, available, "en"), "de");
  EXPECT_EQ(chooseLocalization({"de-CH-1996"}, available, "en"), "de");
}

TEST(ChooseLocalization, TakesPreferencesInOrderThenTheDevelopmentLanguage) {
  Languages available = {"de", "en", "fr"};
  EXPECT_EQ(chooseLocalization({"ja", "fr-CA", "de"}, available, "en"), "fr");
  EXPECT_EQ(chooseLocalization({"ja", "ko"}, available, "en"), "en");
  EXPECT_EQ(chooseLocalization({}, available, "en"), "en");
  EXPECT_EQ(chooseLocalization({"ja"}, {"de", "fr"}, "en"), std::nullopt);
  EXPECT_EQ(chooseLocalization({"ja"}, {}, "en"), std::nullopt);
  // Matching is by whole subtags: "e" is no prefix match for "en".
  EXPECT_EQ(chooseLocalization({"e"}, {"en-GB"}, ""), std::nullopt);
}

std::function<const char*(const char*)> environment(std::map<std::string, std::string> vars) {
  return [vars = std::move(vars)](const char* name) -> const char* {
    auto it = vars.find(name);
    return it == vars.end() ? nullptr : it->second.c_str();
  };
}

TEST(PreferredLanguagesFromEnvironment, ReadsLanguageThenLocaleVariables) {
  EXPECT_EQ(preferredLanguagesFromEnvironment(environment({{"LANG", "de_DE.UTF-8"}})),
            Languages{"de-DE"});
  EXPECT_EQ(preferredLanguagesFromEnvironment(environment({{"LANG", "de_DE.UTF-8@euro"}})),
            Languages{"de-DE"});
  EXPECT_EQ(preferredLanguagesFromEnvironment(
                environment({{"LANGUAGE", "pt_BR:pt::C:en"}, {"LANG", "de_DE.UTF-8"}})),
            (Languages{"pt-BR", "pt", "en"}));
  EXPECT_EQ(preferredLanguagesFromEnvironment(environment(
                {{"LC_ALL", ""}, {"LC_MESSAGES", "fr_CA.UTF-8"}, {"LANG", "de_DE.UTF-8"}})),
            Languages{"fr-CA"});
  EXPECT_EQ(preferredLanguagesFromEnvironment(
                environment({{"LC_ALL", "ja_JP"}, {"LANG", "de_DE.UTF-8"}})),
            Languages{"ja-JP"});
  EXPECT_EQ(preferredLanguagesFromEnvironment(environment({{"LANG", "C.UTF-8"}})), Languages{});
  EXPECT_EQ(preferredLanguagesFromEnvironment(environment({{"LANG", "POSIX"}})), Languages{});
  EXPECT_EQ(preferredLanguagesFromEnvironment(environment({})), Languages{});
}

class BundleOnMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    fs_->addFile("/App/en.lproj/Localizable.strings",
                 "\"greeting\" = \"Hello\"; \"only_en\" = \"English only\";");
    fs_->addFile("/App/de.lproj/Localizable.strings", "\"greeting\" = \"Hallo\";");
    fs_->addFile("/App/de.lproj/Other.strings", "\"greeting\" = \"Servus\";");
    fs_->addFile("/App/fr.lproj/Localizable.strings", "\"greeting\" = \"Bonjour");  // broken
    fs_->addDirectory("/App/ja.lproj");                                             // no tables
    fs_->addFile("/App/Localizable.strings", "\"greeting\" = \"Top\";");
    fs_->addFile("/App/icon.png", "png");
    fs_->addFile("/App/x.lproj.txt", "not a localization");
    fs_->addFile("/secret.lproj/Localizable.strings", "\"greeting\" = \"Escaped\";");
  }
  Bundle bundle(Languages preferred, std::string path = "/App") {
    auto b = Bundle::atPath(fs_, std::move(path), std::move(preferred));
    EXPECT_TRUE(b);
    return *b;
  }
  std::shared_ptr<os::MemoryFileSystem> fs_ = std::make_shared<os::MemoryFileSystem>();
};

TEST_F(BundleOnMemory, OpensOnlyDirectories) {
  EXPECT_FALSE(Bundle::atPath(fs_, "/missing"));
  EXPECT_FALSE(Bundle::atPath(fs_, "/App/icon.png"));
  EXPECT_FALSE(Bundle::atPath(nullptr, "/App"));
}

TEST_F(BundleOnMemory, ListsAndChoosesLocalizations) {
  EXPECT_EQ(bundle({}).localizations(), (Languages{"de", "en", "fr", "ja"}));
  EXPECT_EQ(bundle({"de-AT"}).preferredLocalization(), "de");
  EXPECT_EQ(bundle({"ko"}).preferredLocalization(), "en");
}

TEST_F(BundleOnMemory, LooksUpKeysInTheChosenTable) {
  EXPECT_EQ(bundle({"de"}).localizedStringForKey("greeting", ""), "Hallo");
  EXPECT_EQ(bundle({"de"}).localizedStringForKey("greeting", "", "Other"), "Servus");
  EXPECT_EQ(bundle({"en"}).localizedStringForKey("greeting", ""), "Hello");
  EXPECT_EQ(NSLocalizedString(bundle({"de"}), "greeting"), "Hallo");
}

TEST_F(BundleOnMemory, MissingKeysGiveTheValueOrTheKey) {
  auto de = bundle({"de"});
  EXPECT_EQ(de.localizedStringForKey("only_en", "fallback"), "fallback");
  EXPECT_EQ(de.localizedStringForKey("only_en", ""), "only_en");
  EXPECT_EQ(de.localizedStringForKey("greeting", "", "Missing"), "greeting");
  EXPECT_EQ(NSLocalizedString(de, "widget_period_day"), "widget_period_day");
  // A broken table counts as missing.
  EXPECT_EQ(bundle({"fr"}).localizedStringForKey("greeting", "base"), "base");
  // A localization without the table reads the bundle's top table.
  EXPECT_EQ(bundle({"ja"}).localizedStringForKey("greeting", ""), "Top");
}

TEST_F(BundleOnMemory, ABundleMadeFromAnLprojReadsItsOwnTable) {
  auto en = bundle({"de"}).pathForResource("en", "lproj");
  ASSERT_EQ(en, "/App/en.lproj");
  auto lproj = bundle({"de"}, *en);
  EXPECT_EQ(lproj.localizations(), Languages{});
  EXPECT_EQ(lproj.preferredLocalization(), std::nullopt);
  EXPECT_EQ(lproj.localizedStringForKey("greeting", "base"), "Hello");
  EXPECT_EQ(lproj.localizedStringForKey("absent", "base"), "base");
}

TEST_F(BundleOnMemory, FindsOnlyPlainResourceNames) {
  auto app = bundle({});
  EXPECT_EQ(app.pathForResource("icon", "png"), "/App/icon.png");
  EXPECT_EQ(app.pathForResource("de", "lproj"), "/App/de.lproj");
  EXPECT_EQ(app.pathForResource("Localizable.strings", ""), "/App/Localizable.strings");
  EXPECT_EQ(app.pathForResource("ko", "lproj"), std::nullopt);
  for (std::string name : std::vector<std::string>{"../secret", "de.lproj/..", "a/b", "", ".", "..",
                                                   "/App/de", std::string("de\0x", 4)}) {
    EXPECT_EQ(app.pathForResource(name, "lproj"), std::nullopt) << name;
  }
  EXPECT_EQ(app.pathForResource(".", ""), std::nullopt);
  EXPECT_EQ(app.pathForResource("..", ""), std::nullopt);
  EXPECT_EQ(app.pathForResource("de", "lproj/../../secret"), std::nullopt);
  EXPECT_EQ(app.localizedStringForKey("greeting", "base", "../secret.lproj/Localizable"), "base");
}

TEST(BundleOnDisk, ReadsTablesInEveryShippedForm) {
  const std::string path = std::string(TAMSA_TEST_DATA) + "/foundation/Widget.bundle";
  auto open = [&](Languages preferred) {
    auto b = Bundle::atPath(os::posixFileSystem(), path, std::move(preferred));
    EXPECT_TRUE(b);
    return *b;
  };
  EXPECT_EQ(open({}).localizations(), (Languages{"de", "en", "fr", "pt-BR", "zh-Hans"}));
  auto en = open({"en-US"});
  EXPECT_EQ(en.localizedStringForKey("widget_period_day", ""), "Today");
  EXPECT_EQ(en.localizedStringForKey("widget_income", ""), "Income");
  EXPECT_EQ(en.localizedStringForKey("widget_expense", ""), "Expense");
  EXPECT_EQ(en.localizedStringForKey("widget_balance", ""), "widget_balance");  // "key;" form
  auto de = open({"de_DE"});                                                    // UTF-16 LE text
  EXPECT_EQ(de.localizedStringForKey("widget_period_day", ""), "Heute");
  EXPECT_EQ(de.localizedStringForKey("widget_income", ""), "Einnahmen \xE2\x86\x92 \"gru00fcn\"");
  EXPECT_EQ(open({"pt_BR"}).localizedStringForKey("widget_period_day", ""), "Hoje");  // UTF-16 BE
  auto zh = open({"zh-Hans-CN"});                                                     // binary list
  EXPECT_EQ(zh.localizedStringForKey("widget_period_day", ""), "\xE4\xBB\x8A\xE5\xA4\xA9");
  EXPECT_EQ(zh.localizedStringForKey("count", "none"), "none");  // not a string: skipped
  EXPECT_EQ(open({"fr-FR"}).localizedStringForKey("widget_period_day", ""),
            "Aujourd\xE2\x80\x99hui");  // XML list
  EXPECT_EQ(open({"it"}).preferredLocalization(), "en");
}

}  // namespace
}  // namespace foundation
