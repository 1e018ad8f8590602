#include "platform/foundation/Bundle.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/foundation/Locale.h"
#include "platform/os/MemoryFileSystem.h"

namespace foundation {
namespace {

using Languages = std::vector<std::string>;

// From what the user set (a POSIX locale name, or a language tag) to the bundle's localization.
TEST(ChooseLocalization, FindsTheBundlesLocalizationForEveryFormOfALanguage) {
  const Languages available = {"de", "en", "pt-BR", "pt", "sr-Latn", "zh-Hans", "zh-Hant"};
  const std::pair<std::string, const char*> cases[] = {
      {"zh_CN.UTF-8", "zh-Hans"}, {"zh_SG", "zh-Hans"},      {"zh_TW.Big5", "zh-Hant"},
      {"zh_HK", "zh-Hant"},       {"zh_MO", "zh-Hant"},      {"sr_RS@latin", "sr-Latn"},
      {"pt_BR.UTF-8", "pt-BR"},   {"pt_PT", "pt"},           {"de_DE.UTF-8@euro", "de"},
      {"zh-CN", "zh-Hans"},       {"zh-TW", "zh-Hant"},      {"zh-HK", "zh-Hant"},
      {"zh", "zh-Hans"},          {"zh-Hant-CN", "zh-Hant"}, {"PT-br", "pt-BR"},
      {"de-CH-1996", "de"},       {"C.UTF-8", "en"},         {"ja", "en"},
  };
  for (const auto& [language, chosen] : cases) {
    auto tag = language.find_first_of("_.") == std::string::npos
                   ? std::optional(language)
                   : languageTagFromPosixLocale(language);
    EXPECT_EQ(chooseLocalization(tag ? Languages{*tag} : Languages{}, available, "en"), chosen)
        << language;
  }
  EXPECT_EQ(languageTagFromPosixLocale("uz_UZ@cyrillic"), "uz-Cyrl-UZ");
  EXPECT_EQ(chooseLocalization({"ja", "fr-CA", "de"}, {"de", "en", "fr"}, "en"), "fr");
  EXPECT_EQ(chooseLocalization({"e"}, {"en-GB"}, ""), std::nullopt);  // whole subtags only
}

TEST(PreferredLanguagesFromEnvironment, ReadsLanguageThenTheFirstLocaleVariableSet) {
  using Env = std::map<std::string, std::string>;
  for (const auto& [vars, languages] : std::vector<std::pair<Env, Languages>>{
           {{{"LANG", "zh_CN.UTF-8"}}, {"zh-Hans-CN"}},
           {{{"LANGUAGE", "pt_BR:pt::C:en"}, {"LANG", "de_DE"}}, {"pt-BR", "pt", "en"}},
           {{{"LANGUAGE", "C"}, {"LC_ALL", ""}, {"LC_MESSAGES", "fr_CA"}}, {"fr-CA"}},
           {{{"LC_ALL", "POSIX"}, {"LANG", "de_DE"}}, {}}}) {
    EXPECT_EQ(preferredLanguagesFromEnvironment([&vars = vars](const char* name) {
                return vars.contains(name) ? vars.at(name).c_str() : nullptr;
              }),
              languages);
  }
}

TEST(Bundle, LooksUpKeysInTheChosenTableElseGivesTheValueOrKey) {
  auto fs = std::make_shared<os::MemoryFileSystem>();
  fs->addFile("/App/en.lproj/Localizable.strings", "\"hi\" = \"Hello\"; \"en\" = \"English\";");
  fs->addFile("/App/de.lproj/Other.strings", "\"hi\" = \"Servus\";");
  fs->addFile("/App/fr.lproj/Localizable.strings", "\"hi\" = \"Bonjour");  // broken
  fs->addFile("/App/Localizable.strings", "\"hi\" = \"Top\";");
  fs->addFile("/App/x.lproj.txt", "not a localization");
  auto bundle = [&](Languages preferred, std::string path = "/App") {
    return *Bundle::atPath(fs, std::move(path), std::move(preferred));
  };
  EXPECT_FALSE(Bundle::atPath(fs, "/App/x.lproj.txt"));
  EXPECT_EQ(bundle({}).localizations(), (Languages{"de", "en", "fr"}));
  auto de = bundle({"de-AT"});
  EXPECT_EQ(de.localizedStringForKey("hi", "", "Other"), "Servus");
  EXPECT_EQ(de.localizedStringForKey("hi", "", "Missing"), "hi");
  EXPECT_EQ(NSLocalizedString(de, "hi"), "Top");  // no such table in de.lproj: the top one
  EXPECT_EQ(bundle({"ko"}).localizedStringForKey("en", "fallback"), "English");
  EXPECT_EQ(bundle({"fr"}).localizedStringForKey("hi", "fallback"), "fallback");
  EXPECT_EQ(bundle({"de"}, "/App/en.lproj").localizedStringForKey("hi", ""), "Hello");
  // Names from data never leave the bundle.
  EXPECT_EQ(de.pathForResource("de", "lproj"), "/App/de.lproj");
  EXPECT_EQ(de.pathForResource("../App", "lproj"), std::nullopt);
  EXPECT_EQ(de.localizedStringForKey("hi", "", "../en.lproj/Localizable"), "hi");
}

}  // namespace
}  // namespace foundation
