#include "platform/foundation/Bundle.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/foundation/Locale.h"
#include "platform/os/MemoryFileSystem.h"

namespace foundation {
namespace {

using Languages = std::vector<std::string>;

// From what the user set (an environment locale or a preferred language) to the localization.
TEST(ChooseLocalization, FindsTheBundlesLocalizationForEveryFormOfALanguage) {
  const Languages available = {"de", "en", "pt-BR", "pt", "sr-Latn", "zh-Hans", "zh-Hant"};
  for (const auto& [language, chosen] :
       std::vector<std::pair<std::string, std::string>>{{"zh_CN.UTF-8", "zh-Hans"},
                                                        {"zh_SG", "zh-Hans"},
                                                        {"zh_TW.Big5", "zh-Hant"},
                                                        {"zh_HK", "zh-Hant"},
                                                        {"zh_MO", "zh-Hant"},
                                                        {"sr_RS@latin", "sr-Latn"},
                                                        {"pt_BR.UTF-8", "pt-BR"},
                                                        {"pt_PT", "pt"},
                                                        {"de_DE.UTF-8@euro", "de"},
                                                        {"zh-CN", "zh-Hans"},
                                                        {"zh-TW", "zh-Hant"},
                                                        {"zh-HK", "zh-Hant"},
                                                        {"zh", "zh-Hans"},
                                                        {"zh-Hant-CN", "zh-Hant"},
                                                        {"PT-br", "pt-BR"},
                                                        {"de-CH-1996", "de"},
                                                        {"C.UTF-8", "en"},
                                                        {"ja", "en"}}) {
    // POSIX locale names as the environment gives them; language tags as the user lists them.
    auto tag = language.find_first_of("_.") == std::string::npos
                   ? std::optional(language)
                   : languageTagFromPosixLocale(language);
    EXPECT_EQ(chooseLocalization(tag ? Languages{*tag} : Languages{}, available, "en"), chosen)
        << language;
  }
  EXPECT_EQ(languageTagFromPosixLocale("uz_UZ@cyrillic"), "uz-Cyrl-UZ");
  EXPECT_EQ(chooseLocalization({"ja", "fr-CA", "de"}, {"de", "en", "fr"}, "en"), "fr");
  EXPECT_EQ(chooseLocalization({"ja"}, {"de", "fr"}, "en"), std::nullopt);
  EXPECT_EQ(chooseLocalization({"e"}, {"en-GB"}, ""), std::nullopt);  // whole subtags only
}

TEST(PreferredLanguagesFromEnvironment, ReadsLanguageThenTheFirstLocaleVariableSet) {
  using Env = std::map<std::string, std::string>;
  for (const auto& [vars, languages] : std::vector<std::pair<Env, Languages>>{
           {{{"LANG", "zh_CN.UTF-8"}}, {"zh-Hans-CN"}},
           {{{"LANGUAGE", "pt_BR:pt::C:en"}, {"LANG", "de_DE.UTF-8"}}, {"pt-BR", "pt", "en"}},
           {{{"LANGUAGE", "C"}, {"LANG", "de_DE.UTF-8"}}, {"de-DE"}},
           {{{"LC_ALL", ""}, {"LC_MESSAGES", "fr_CA"}, {"LANG", "de_DE"}}, {"fr-CA"}},
           {{{"LC_ALL", "POSIX"}, {"LANG", "de_DE"}}, {}},
           {{}, {}}}) {
    auto getenv = [&vars = vars](const char* name) -> const char* {
      auto it = vars.find(name);
      return it == vars.end() ? nullptr : it->second.c_str();
    };
    EXPECT_EQ(preferredLanguagesFromEnvironment(getenv), languages);
  }
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
    return *Bundle::atPath(fs_, std::move(path), std::move(preferred));
  }
  std::shared_ptr<os::MemoryFileSystem> fs_ = std::make_shared<os::MemoryFileSystem>();
};

TEST_F(BundleOnMemory, LooksUpKeysInTheChosenTableElseGivesTheValueOrKey) {
  EXPECT_FALSE(Bundle::atPath(fs_, "/App/icon.png"));
  EXPECT_EQ(bundle({}).localizations(), (Languages{"de", "en", "fr", "ja"}));
  auto de = bundle({"de-AT"});
  EXPECT_EQ(NSLocalizedString(de, "greeting"), "Hallo");
  EXPECT_EQ(de.localizedStringForKey("greeting", "", "Other"), "Servus");
  EXPECT_EQ(de.localizedStringForKey("only_en", "fallback"), "fallback");
  EXPECT_EQ(de.localizedStringForKey("greeting", "", "Missing"), "greeting");
  EXPECT_EQ(bundle({"ko"}).localizedStringForKey("only_en", ""), "English only");
  EXPECT_EQ(bundle({"fr"}).localizedStringForKey("greeting", "base"), "base");  // broken table
  EXPECT_EQ(bundle({"ja"}).localizedStringForKey("greeting", ""), "Top");       // the top table
  auto lproj = bundle({"de"}, *de.pathForResource("en", "lproj"));
  EXPECT_EQ(lproj.preferredLocalization(), std::nullopt);
  EXPECT_EQ(lproj.localizedStringForKey("greeting", "base"), "Hello");
}

TEST_F(BundleOnMemory, FindsOnlyPlainResourceNames) {
  auto app = bundle({});
  EXPECT_EQ(app.pathForResource("icon", "png"), "/App/icon.png");
  EXPECT_EQ(app.pathForResource("Localizable.strings", ""), "/App/Localizable.strings");
  EXPECT_EQ(app.pathForResource("ko", "lproj"), std::nullopt);
  for (std::string name :
       Languages{"../secret", "de.lproj/..", "", ".", "..", "/App/de", std::string("de\0x", 4)})
    EXPECT_EQ(app.pathForResource(name, "lproj"), std::nullopt) << name;
  EXPECT_EQ(app.pathForResource("..", ""), std::nullopt);
  EXPECT_EQ(app.pathForResource("de", "lproj/../../secret"), std::nullopt);
  EXPECT_EQ(app.localizedStringForKey("greeting", "base", "../secret.lproj/Localizable"), "base");
}

TEST(BundleOnDisk, ReadsTablesInEveryShippedForm) {
  const std::string path = std::string(TAMSA_TEST_DATA) + "/foundation/Widget.bundle";
  auto text = [&](Languages preferred, const char* key) {
    return Bundle::atPath(os::posixFileSystem(), path, std::move(preferred))
        ->localizedStringForKey(key, "none");
  };
  EXPECT_EQ(text({"en-US"}, "widget_income"), "Income");
  EXPECT_EQ(text({"en-US"}, "widget_balance"), "widget_balance");  // "key;" form
  EXPECT_EQ(text({"de_DE"}, "widget_income"), "Einnahmen \xE2\x86\x92 \"gru00fcn\"");  // UTF-16 LE
  EXPECT_EQ(text({"pt_BR"}, "widget_period_day"), "Hoje");                             // UTF-16 BE
  EXPECT_EQ(text({"zh-CN"}, "widget_period_day"), "\xE4\xBB\x8A\xE5\xA4\xA9");  // binary list
  EXPECT_EQ(text({"zh-Hans"}, "count"), "none");  // not a string: skipped
  EXPECT_EQ(text({"fr-FR"}, "widget_period_day"), "Aujourd\xE2\x80\x99hui");  // XML list
}

}  // namespace
}  // namespace foundation
