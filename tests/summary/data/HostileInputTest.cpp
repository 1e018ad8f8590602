// The committed hostile inputs (tests/data/hostile, written by make_hostile.py): damaged suite
// files must read as an empty store, damaged string tables as missing ones, whatever the damage.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/foundation/StringsTable.h"
#include "shared/LocalizedWidgetString.h"
#include "summary/data/SummaryLoader.h"
#include "support/RunProgram.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using testing_support::kBundle;
using testing_support::TestDevice;

const std::string kHostile = std::string(TAMSA_TEST_DATA) + "/hostile";

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> hostileFiles(const std::string& prefix) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(kHostile)) {
    std::string name = e.path().filename().string();
    if (name.starts_with(prefix) && name != "store-intact.plist") names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

TestDevice withEnglish() {
  TestDevice t;
  t.withTable("en", {{"widget_period_month", "This Month"},
                     {"widget_all_wallets", "All Wallets"},
                     {"widget_wallets_count", "%@ wallets"},
                     {"widget_income", "Income"}});
  return t;
}

TamsaSummaryEntry entryForStore(std::string bytes) {
  auto t = withEnglish();
  t.withStoreBytes(std::move(bytes));
  return loadSummaryEntry(t.device());
}

const TamsaSummaryEntry& emptyStoreEntry() {
  static const TamsaSummaryEntry entry = entryForStore("");
  return entry;
}

TEST(HostileStores, TheSetIsLargeAndItsSourceReads) {
  EXPECT_GE(hostileFiles("store-").size() + hostileFiles("table-").size(), 30u);
  auto intact = entryForStore(readFile(kHostile + "/store-intact.plist"));
  EXPECT_TRUE(intact.isLoggedIn);
  EXPECT_EQ(intact.currencySymbol, "EUR");
  EXPECT_EQ(intact.balance, -1234.5);
  EXPECT_EQ(intact.walletLabel, "3 wallets");
  EXPECT_FALSE(emptyStoreEntry().isLoggedIn);
  EXPECT_EQ(emptyStoreEntry().walletLabel, "All Wallets");
}

class HostileStore : public ::testing::TestWithParam<std::string> {};

TEST_P(HostileStore, ReadsAsAnEmptyStore) {
  EXPECT_EQ(entryForStore(readFile(kHostile + "/" + GetParam())), emptyStoreEntry());
}

INSTANTIATE_TEST_SUITE_P(Files, HostileStore, ::testing::ValuesIn(hostileFiles("store-")),
                         testName);

TEST(HostileStores, AFileCutAtEveryEighthByteIsAnEmptyStore) {
  std::string intact = readFile(kHostile + "/store-intact.plist");
  ASSERT_GT(intact.size(), 200u);
  for (std::size_t n = 0; n < intact.size(); n += 8) {
    EXPECT_EQ(entryForStore(intact.substr(0, n)), emptyStoreEntry()) << "cut at " << n;
  }
}

// The text of "widget_income" with the table under test as the recorded language's table, and
// with it as the system language's own table.
struct Lookup {
  std::string overridden;
  std::string systemLanguage;
};

Lookup lookUpWithTable(std::string tableBytes) {
  auto t = withEnglish();
  t.fileSystem().addFile(std::string(kBundle) + "/de.lproj/Localizable.strings",
                         std::move(tableBytes));
  t.withStore({{"widget_language", std::string("de")}});
  Lookup out;
  out.overridden = localizedWidgetString(t.device(), "widget_income");
  t.withStore({}).withPreferredLanguages({"de"});
  out.systemLanguage = localizedWidgetString(t.device(), "widget_income");
  return out;
}

class HostileTable : public ::testing::TestWithParam<std::string> {};

// A damaged override table gives the system-language text; a damaged system-language table
// gives the key itself. Two tables are damaged only in their text, and read.
TEST_P(HostileTable, IsMissingOrReadAsDocumented) {
  const std::map<std::string, std::string> read = {
      {"table-escaped-lone-surrogate.strings", "Ein\xEF\xBF\xBDnahmen"},
      {"table-nul-inside-string.strings", std::string("Ein\0nahmen", 10)},
  };
  auto lookup = lookUpWithTable(readFile(kHostile + "/" + GetParam()));
  if (auto it = read.find(GetParam()); it != read.end()) {
    EXPECT_EQ(lookup.overridden, it->second);
    EXPECT_EQ(lookup.systemLanguage, it->second);
  } else {
    EXPECT_EQ(lookup.overridden, "Income");
    EXPECT_EQ(lookup.systemLanguage, "widget_income");
  }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileTable, ::testing::ValuesIn(hostileFiles("table-")),
                         testName);

// Made here rather than committed: 50 MB of a table that would read well but for its size, on the
// machine's file system, so the size cap is the one that stops it.
TEST(HostileTables, AFiftyMegabyteTableIsMissing) {
  std::string dir = testing_support::makeTempDirectory();
  std::string path = dir + "/Localizable.strings";
  {
    std::ofstream out(path, std::ios::binary);
    std::string line = "\"widget_income\" = \"Einnahmen\";\n";
    for (std::size_t written = 0; written < (50u << 20); written += line.size()) out << line;
  }
  EXPECT_FALSE(foundation::StringsTable::load(*os::posixFileSystem(), path));
  auto lookup = lookUpWithTable(readFile(path));
  EXPECT_EQ(lookup.overridden, "Income");
  EXPECT_EQ(lookup.systemLanguage, "widget_income");
}

}  // namespace
}  // namespace tamsa
