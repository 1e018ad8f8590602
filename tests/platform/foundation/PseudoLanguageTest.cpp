// Pseudo-languages: their texts, and a bundle offering them beside its development language.
#include "platform/foundation/PseudoLanguage.h"

#include <gtest/gtest.h>

#include "platform/foundation/Bundle.h"
#include "platform/os/MemoryFileSystem.h"

namespace foundation {
namespace {

TEST(PseudoLanguage, TextsKeepTheirConversions) {
  struct Case {
    PseudoLanguage language;
    const char* text;
    const char* want;
  };
  for (const Case& c : {
           Case{PseudoLanguage::accented, "This Month", "[Ţĥîš Ḿöñţĥ one two]"},
           Case{PseudoLanguage::accented, "%@ Wallets", "[%@ Ŵåļļéţš one two]"},
           Case{PseudoLanguage::accented, "%1$@", "[%1$@]"},
           Case{PseudoLanguage::doubled, "%@ Wallets", "%@ Wallets Wallets"},
           Case{PseudoLanguage::rightToLeft, "%@ Wallets", "%@\u202E Wallets\u202C"},
           Case{PseudoLanguage::accented, "", ""},
           // Nothing to translate: a sign stays one, in every pseudo-language.
           Case{PseudoLanguage::accented, "+", "+"},
           Case{PseudoLanguage::doubled, "+", "+"},
           Case{PseudoLanguage::rightToLeft, "+", "+"},
           Case{PseudoLanguage::accented, "é", "[é one]"},
       })
    EXPECT_EQ(pseudoLocalized(c.text, c.language), c.want) << c.text;
}

TEST(PseudoLanguage, ABundleOffersThemFromItsDevelopmentLanguage) {
  auto fs = std::make_shared<os::MemoryFileSystem>();
  fs->addFile("/b/en.lproj/Localizable.strings", "\"k\" = \"Income\";");
  fs->addFile("/b/en-XL.lproj/Localizable.strings", "\"k\" = \"Own\";");
  auto chosen = [&](const char* language) { return Bundle::atPath(fs, "/b", {language}); };
  EXPECT_EQ(chosen("en-XA")->localizations(), (std::vector<std::string>{"en", "en-XL"}));
  EXPECT_EQ(NSLocalizedString(*chosen("en_xa"), "k"), "[Îñçöḿé one]");
  EXPECT_EQ(NSLocalizedString(*chosen("ar-XB"), "k"), "\u202EIncome\u202C");
  EXPECT_EQ(NSLocalizedString(*chosen("en-XL"), "k"), "Own");  // a real directory wins
  EXPECT_EQ(NSLocalizedString(*chosen("en-XA"), "missing"), "missing");
  // Chosen only by the preferred languages: no resource, so no in-app language can name one.
  for (const char* name : {"en-XA", "EN-XA", "en_xa", "ar-XB"}) {
    EXPECT_FALSE(chosen("en")->pathForResource(name, "lproj")) << name;
    EXPECT_FALSE(Bundle::atPath(fs, std::string("/b/") + name + ".lproj")) << name;
  }
  EXPECT_TRUE(chosen("en")->pathForResource("en-XL", "lproj"));
  auto noDevelopment = std::make_shared<os::MemoryFileSystem>();
  noDevelopment->addFile("/b/de.lproj/Localizable.strings", "\"k\" = \"Einnahmen\";");
  EXPECT_EQ(Bundle::atPath(noDevelopment, "/b", {"en-XA"})->preferredLocalization(), std::nullopt);
  // A bundle developed in another language offers them from its table.
  EXPECT_EQ(NSLocalizedString(*Bundle::atPath(noDevelopment, "/b", {"ar-XB"}, "de"), "k"),
            "\u202EEinnahmen\u202C");
}

}  // namespace
}  // namespace foundation
