// The committed hostile inputs (tests/data/hostile, written by make_hostile.py): damaged suite
// files must read as an empty store, damaged string tables as missing ones, whatever the damage.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "shared/LocalizedWidgetString.h"
#include "summary/data/SummaryLoader.h"
#include "support/RunProgram.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using Texts = std::pair<std::string, std::string>;

const std::string kHostile = std::string(TAMSA_TEST_DATA) + "/hostile";

std::vector<std::string> hostileFiles() {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(kHostile))
    if (e.path().extension() != ".py" && e.path().filename() != "store-intact.plist")
      names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

testing_support::TestDevice withEnglish() {
  return testing_support::TestDevice().withTable(
      "en", {{"widget_wallets_count", "%@ wallets"}, {"widget_income", "Income"}});
}

TamsaSummaryEntry entryForStore(std::string bytes) {
  return loadSummaryEntry(withEnglish().withStoreBytes(std::move(bytes)).device());
}

// "widget_income" with the table as the recorded language's table, then as the system language's.
Texts lookUpWithTable(std::string tableBytes) {
  auto t = withEnglish();
  t.fileSystem().addFile(std::string(testing_support::kBundle) + "/de.lproj/Localizable.strings",
                         std::move(tableBytes));
  t.withStore({{"widget_language", std::string("de")}});
  std::string overridden = localizedWidgetString(t.device(), "widget_income");
  t.withStore({}).withPreferredLanguages({"de"});
  return {overridden, localizedWidgetString(t.device(), "widget_income")};
}

class HostileFile : public ::testing::TestWithParam<std::string> {};

// A damaged store is an empty one. A damaged override table gives the system-language text, a
// damaged system-language table the key; two tables are damaged only in their text, and read.
TEST_P(HostileFile, GivesTheDocumentedFallback) {
  std::string bytes = testing_support::readFile(kHostile + "/" + GetParam());
  if (GetParam().starts_with("store-")) {
    EXPECT_EQ(entryForStore(bytes), entryForStore(""));
    return;
  }
  const std::map<std::string, std::string> read = {
      {"table-escaped-lone-surrogate.strings", "Ein\xEF\xBF\xBDnahmen"},
      {"table-nul-inside-string.strings", std::string("Ein\0nahmen", 10)}};
  auto it = read.find(GetParam());
  EXPECT_EQ(lookUpWithTable(bytes),
            it != read.end() ? Texts(it->second, it->second) : Texts("Income", "widget_income"));
}

INSTANTIATE_TEST_SUITE_P(Files, HostileFile, ::testing::ValuesIn(hostileFiles()),
                         [](const auto& info) {  // the file's name, as a test name can hold it
                           std::string name = info.param;
                           for (char& c : name)
                             c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

TEST(HostileStores, TheIntactSourceReadsAndEveryEighthByteCutIsAnEmptyStore) {
  std::string intact = testing_support::readFile(kHostile + "/store-intact.plist");
  EXPECT_EQ(entryForStore(intact).walletLabel, "3 wallets");
  for (std::size_t n = 0; n < intact.size(); n += 8)
    EXPECT_EQ(entryForStore(intact.substr(0, n)), entryForStore("")) << "cut at " << n;
}

// 50 MB of a table that would read well but for its size, so the size cap is what stops it.
TEST(HostileTables, AFiftyMegabyteTableIsMissing) {
  std::string table, line = "\"widget_income\" = \"Einnahmen\";\n";
  while (table.size() < (50u << 20)) table += line;
  EXPECT_EQ(lookUpWithTable(table), Texts("Income", "widget_income"));
}

}  // namespace
}  // namespace tamsa
