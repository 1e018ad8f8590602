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

// What the phone does where the bundle lacks the language itself: another regional variant of the
// same language and script, never another script; old codes are the same language; names that are
// no language tag, and pseudo-languages not named exactly, are never taken.
TEST(ChooseLocalization, TakesARegionalVariantButNeverAnotherScriptOrAPseudoLanguage) {
  const Languages shipped = {"ar-XB", "de", "en", "en-XA", "he", "pt-BR", "zh-Hans"};
  const std::string longTag = "pt" + std::string(4000, 'x');
  const std::pair<std::string, const char*> cases[] = {
      {"pt-PT", "pt-BR"},    {"pt", "pt-BR"},      {"pt_PT.UTF-8", "pt-BR"},  {"iw", "he"},
      {"iw_IL.UTF-8", "he"}, {"IW-il", "he"},      {"zh-Hant", "en"},         {"zh_TW.UTF-8", "en"},
      {"zh-HK", "en"},       {"zh-Hant-CN", "en"}, {"zh-Hans-HK", "zh-Hans"}, {"zh-SG", "zh-Hans"},
      {"ar-EG", "en"},       {"en-XA", "en-XA"},   {"EN_xa", "en-XA"},        {"en-GB", "en"},
      {"de-Latn-AT", "de"},  {"../pt-BR", "en"},   {"pt-BR.lproj", "en"},     {"pt--BR", "en"},
      {"-pt", "en"},         {"", "en"},           {longTag, "en"},
  };
  for (const auto& [language, chosen] : cases) {
    // As LANG names it, or as the system's settings list it.
    auto tag = language.ends_with(".UTF-8") ? languageTagFromPosixLocale(language)
                                            : std::optional(language);
    EXPECT_EQ(chooseLocalization({tag.value_or("")}, shipped, "en"), chosen) << language;
  }
  // The bundle side may use old codes, regions and scripts too.
  const Languages other = {"en-GB", "en-US", "iw", "id", "sr-Latn", "uz", "yi", "zh-Hant-TW"};
  const std::pair<const char*, const char*> onOther[] = {
      {"he-IL", "iw"},      {"in", "id"},
      {"ji", "yi"},         {"en-AU", "en-US"},
      {"zh", "en-US"},      {"zh-HK", "zh-Hant-TW"},
      {"sr", "en-US"},      {"sr-Latn-RS", "sr-Latn"},
      {"uz-Arab", "en-US"}, {"uz-UZ", "uz"}};
  for (const auto& [language, chosen] : onOther)
    EXPECT_EQ(chooseLocalization({language}, other, "en-US"), chosen) << language;
  // In order: a later language's own table before an earlier one's script-alien neighbour.
  EXPECT_EQ(chooseLocalization({"zh-TW", "de"}, shipped, "en"), "de");
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
