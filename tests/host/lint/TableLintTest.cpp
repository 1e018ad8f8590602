// The translators' lint on tables made in memory: each problem a translator can make is found,
// on the line where it was made, and the shipped tables are clean.
#include "host/lint/TableLint.h"

#include <gtest/gtest.h>

#include "platform/os/MemoryFileSystem.h"
#include "shared/LocalizedKeys.h"

namespace host {
namespace {

// A table with every used key: the key's name as its text, "%@ w" for the wallet format, the
// brand and the plus sign as they are, then `extra` lines.
std::string table(const std::string& prefix, const std::string& extra = "",
                  const std::string& skip = "") {
  std::string out;
  for (const auto& [key, use] : tamsa::localizedKeys) {
    if (key == skip) continue;
    std::string value = use == tamsa::KeyUse::walletFormat ? "%@ " + prefix
                        : use == tamsa::KeyUse::unchanged  ? std::string(key)
                                                           : prefix + std::string(key);
    out += "\"" + std::string(key) + "\" = \"" + value + "\";\n";
  }
  return out + extra;
}

struct Found {
  int line;
  LintKind kind;
  bool operator==(const Found&) const = default;
};

std::vector<Found> lint(const std::string& de, const std::string& en = table("en ")) {
  os::MemoryFileSystem fs;
  fs.addFile("/r/en.lproj/Localizable.strings", en);
  fs.addFile("/r/de.lproj/Localizable.strings", de);
  std::vector<Found> out;
  for (const LintProblem& p : lintStringTables(fs, "/r").problems) out.push_back({p.line, p.kind});
  return out;
}

TEST(TableLint, FindsEachProblemOnItsLine) {
  const std::string clean = table("de ");
  EXPECT_EQ(lint(clean), std::vector<Found>{});
  struct Case {
    const char* what;
    std::string de;
    std::vector<Found> want;
  };
  for (const Case& c : std::vector<Case>{
           {"unused key", clean + "\"widget_old\" = \"x\";\n", {{19, LintKind::unusedKey}}},
           {"missing key", table("de ", "", tamsa::keys::balance), {{1, LintKind::missingKey}}},
           {"duplicate: the earlier line is reported",
            clean + "\"widget_income\" = \"Einnahmen\";\n",
            {{9, LintKind::duplicateKey}}},
           {"empty value",
            table("de ", "", tamsa::keys::income) + "\"widget_income\" = \"\";\n",
            {{18, LintKind::emptyValue}}},
           {"same as en",
            table("de ", "", tamsa::keys::income) + "\"widget_income\" = \"en widget_income\";\n",
            {{18, LintKind::untranslated}}},
           {"a conversion where en has none",
            table("de ", "", tamsa::keys::income) + "\"widget_income\" = \"%d Einnahmen\";\n",
            {{18, LintKind::placeholders}}},
           {"the wallet format with %d",
            table("de ", "", tamsa::keys::walletsCount) + "\"widget_wallets_count\" = \"%d K\";\n",
            {{18, LintKind::placeholders}}},
           {"the wallet format with two arguments",
            table("de ", "", tamsa::keys::walletsCount) +
                "\"widget_wallets_count\" = \"%@ %1$@\";\n",
            {{18, LintKind::placeholders}}},
           {"the wallet format without its argument",
            table("de ", "", tamsa::keys::walletsCount) + "\"widget_wallets_count\" = \"K\";\n",
            {{18, LintKind::placeholders}}},
           {"positional wallet format and a percent sign are fine",
            table("de ", "", tamsa::keys::walletsCount) +
                "\"widget_wallets_count\" = \"%1$@ K 100%%\";\n",
            {}},
           {"a missing semicolon stops the table where it is",
            clean + "\"a\" = \"b\"\n\"c\" = \"d\";\n",
            {{20, LintKind::unreadable}}},
           {"an unterminated string is reported at its opening quote",
            clean + "\"a\" = \"b;\n",
            {{19, LintKind::unreadable}}},
           {"Latin-1 is no encoding the platform reads",
            clean + "\"a\" = \"\xE9\";\n",
            {{19, LintKind::unreadable}}},
       })
    EXPECT_EQ(lint(c.de), c.want) << c.what;
  // UTF-16 with its byte-order mark is accepted; the development table is read as well.
  std::string utf16 = "\xFF\xFE";
  for (char ch : clean) utf16 += std::string{ch, '\0'};
  EXPECT_EQ(lint(utf16), std::vector<Found>{});
  EXPECT_EQ(lint(clean, "\"a\" = "), (std::vector<Found>{{1, LintKind::unreadable}}));
}

TEST(TableLint, TheShippedTablesAreClean) {
  LintReport report = lintStringTables(*os::posixFileSystem(), TAMSA_RESOURCES_DIR);
  EXPECT_GE(report.tables.size(), 11u);
  for (const LintProblem& p : report.problems)
    ADD_FAILURE() << p.file << ":" << p.line << ": " << p.message;
}

TEST(TableLint, FormatConversionsAreReadWhole) {
  EXPECT_EQ(formatConversions("%@ and %1$@, %-5.2lf, 100%% %"),
            (std::vector<std::string>{"%@", "%1$@", "%-5.2lf", "%"}));
}

}  // namespace
}  // namespace host
