#include "summary/data/SummaryLoader.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "support/TestDevice.h"

namespace tamsa {
namespace {

using testing_support::Integer;
using testing_support::Real;
using testing_support::StoreValues;
using testing_support::TestDevice;

const std::map<std::string, std::string> kEnglish = {
    {"widget_period_day", "Today"},         {"widget_period_week", "This Week"},
    {"widget_period_month", "This Month"},  {"widget_period_year", "This Year"},
    {"widget_period_all_time", "All Time"}, {"widget_period_custom", "Custom Period"},
    {"widget_all_wallets", "All Wallets"},  {"widget_wallets_count", "%@ Wallets"},
};
const std::map<std::string, std::string> kGerman = {
    {"widget_period_month", "Dieser Monat"},
    {"widget_all_wallets", "Alle Konten"},
    {"widget_wallets_count", "%@ Konten"},
};

TestDevice withTables() {
  TestDevice t;
  t.withTable("en", kEnglish).withTable("de", kGerman);
  return t;
}

TamsaSummaryEntry load(const StoreValues& values) {
  auto t = withTables();
  t.withStore(values);
  return loadSummaryEntry(t.device());
}

TEST(LoadSummaryEntry, EmptySuiteGivesSignedOutDefaults) {
  auto t = withTables();
  t.withStore({});
  auto entry = loadSummaryEntry(t.device());
  EXPECT_FALSE(entry.isLoggedIn);
  EXPECT_EQ(entry.income, 0);
  EXPECT_EQ(entry.expense, 0);
  EXPECT_EQ(entry.balance, 0);
  EXPECT_EQ(entry.currencySymbol, "$");
  EXPECT_EQ(entry.periodLabel, "This Month");
  EXPECT_EQ(entry.walletLabel, "All Wallets");
  EXPECT_EQ(entry.lastUpdate, std::nullopt);
  EXPECT_EQ(entry.date, t.device().now());
}

TEST(LoadSummaryEntry, MissingSuiteFileIsAnEmptyStoreNotTheFallback) {
  auto t = withTables();
  t.withPreferredLanguages({"de"});
  auto entry = loadSummaryEntry(t.device());
  EXPECT_EQ(entry.periodLabel, "Dieser Monat");  // looked up, unlike the fallback's fixed text
  EXPECT_FALSE(entry.isLoggedIn);
}

TEST(LoadSummaryEntry, UnopenableStoreGivesFixedEnglishFallbackWhateverTheLanguage) {
  auto t = withTables();
  t.withPreferredLanguages({"de"}).withoutContainer();
  auto entry = loadSummaryEntry(t.device());
  EXPECT_EQ(entry, fallbackSummaryEntry(t.device().now()));
  EXPECT_EQ(entry.periodLabel, "This Month");
  EXPECT_EQ(entry.walletLabel, "All Wallets");
  EXPECT_FALSE(entry.isLoggedIn);
}

TEST(LoadSummaryEntry, ReadsEveryKey) {
  auto entry = load({{"widget_auth_status", std::string("logged_in")},
                     {"widget_currency_symbol", std::string("€")},
                     {"widget_period_type", std::string("week")},
                     {"widget_wallet_mode", std::string("single")},
                     {"widget_wallet_names", std::string("Cash, Bank")},
                     {"widget_wallet_count", std::string("2")},
                     {"widget_last_update", std::string("1700000000000")},
                     {"widget_income", Real{4200.5}},
                     {"widget_expense", Real{1850}},
                     {"widget_balance", Real{-12.25}}});
  EXPECT_TRUE(entry.isLoggedIn);
  EXPECT_EQ(entry.currencySymbol, "€");
  EXPECT_EQ(entry.periodLabel, "This Week");
  EXPECT_EQ(entry.walletLabel, "Cash, Bank");
  ASSERT_TRUE(entry.lastUpdate);
  EXPECT_EQ(foundation::iso8601(*entry.lastUpdate), "2023-11-14T22:13:20.000Z");
  EXPECT_EQ(entry.income, 4200.5);
  EXPECT_EQ(entry.expense, 1850);
  EXPECT_EQ(entry.balance, -12.25);
}

TEST(LoadSummaryEntry, OnlyExactLoggedInSignsIn) {
  for (std::string status :
       {"Logged_In", " logged_in", "logged_in ", "LOGGED_IN", "logged_out", ""})
    EXPECT_FALSE(load({{"widget_auth_status", status}}).isLoggedIn) << status;
  EXPECT_TRUE(load({{"widget_auth_status", std::string("logged_in")}}).isLoggedIn);
}

TEST(LoadSummaryEntry, SignedOutStillCarriesTheFigures) {
  auto entry = load({{"widget_auth_status", std::string("logged_out")},
                     {"widget_balance", Real{99}},
                     {"widget_last_update", std::string("1.7e12")}});
  EXPECT_FALSE(entry.isLoggedIn);
  EXPECT_EQ(entry.balance, 99);
  EXPECT_TRUE(entry.lastUpdate);
}

TEST(LoadSummaryEntry, EmptyCurrencySymbolStaysEmpty) {
  EXPECT_EQ(load({{"widget_currency_symbol", std::string("")}}).currencySymbol, "");
}

TEST(LoadSummaryEntry, LastUpdateNeedsAPositiveFiniteNumberOverTheWholeText) {
  for (std::string text :
       {"0", "-5", " 1700000000000", "1700000000000 ", "abc", "", "nan", "inf", "1e400", "-inf"})
    EXPECT_EQ(load({{"widget_last_update", text}}).lastUpdate, std::nullopt) << text;
  EXPECT_TRUE(load({{"widget_last_update", std::string("1")}}).lastUpdate);
}

TEST(LoadSummaryEntry, NumbersStoredWhereTextIsReadStillConvert) {
  // A host app that stores the count as an integer and the time as a real.
  auto entry = load({{"widget_wallet_mode", std::string("multi")},
                     {"widget_wallet_count", Integer{3}},
                     {"widget_last_update", Real{1700000000000.0}}});
  EXPECT_EQ(entry.walletLabel, "3 Wallets");
  ASSERT_TRUE(entry.lastUpdate);
  EXPECT_EQ(entry.lastUpdate->secondsSince1970, 1700000000);
}

TEST(LoadSummaryEntry, TextStoredWhereANumberIsReadConverts) {
  auto entry = load({{"widget_balance", std::string("1234.5")},
                     {"widget_income", std::string("  12abc")},
                     {"widget_expense", std::string("lots")}});
  EXPECT_EQ(entry.balance, 1234.5);
  EXPECT_EQ(entry.income, 12);
  EXPECT_EQ(entry.expense, 0);
}

TEST(LoadSummaryEntry, LabelsFollowTheRecordedLanguage) {
  auto entry = load({{"widget_language", std::string("de")}});
  EXPECT_EQ(entry.periodLabel, "Dieser Monat");
  EXPECT_EQ(entry.walletLabel, "Alle Konten");
}

class Labels : public ::testing::Test {
 protected:
  Labels() { t.withStore({}); }
  std::string period(const std::string& type) { return makePeriodLabel(t.device(), type); }
  std::string wallet(const std::string& mode, const std::string& names, std::int64_t count) {
    return makeWalletLabel(t.device(), mode, names, count);
  }
  TestDevice t = withTables();
};

TEST_F(Labels, PeriodCodesAreExactAndEverythingElseIsTheMonth) {
  EXPECT_EQ(period("day"), "Today");
  EXPECT_EQ(period("week"), "This Week");
  EXPECT_EQ(period("year"), "This Year");
  EXPECT_EQ(period("all_time"), "All Time");
  EXPECT_EQ(period("custom"), "Custom Period");
  for (std::string other : {"month", "", "Day", "WEEK", "month ", "quarter"})
    EXPECT_EQ(period(other), "This Month") << other;
}

TEST_F(Labels, MultiShowsTheCountAndIgnoresNames) {
  EXPECT_EQ(wallet("multi", "Cash, Bank", 3), "3 Wallets");
  EXPECT_EQ(wallet("multi", "", 0), "0 Wallets");
  EXPECT_EQ(wallet("multi", "Cash", -2), "-2 Wallets");
  EXPECT_EQ(wallet("multi", "", INT64_MIN), "-9223372036854775808 Wallets");
}

TEST_F(Labels, AllOrNoNamesShowAllWalletsOtherwiseTheNames) {
  EXPECT_EQ(wallet("all", "Cash", 1), "All Wallets");
  EXPECT_EQ(wallet("single", "", 1), "All Wallets");
  EXPECT_EQ(wallet("single", "Cash", 1), "Cash");
  EXPECT_EQ(wallet("Multi", "Cash", 5), "Cash");
  EXPECT_EQ(wallet("", " Cash ", 5), " Cash ");
}

TEST(WalletLabel, TranslatedFormatIsInterpretedOnlyForItsArgument) {
  for (auto [format, label] : std::vector<std::pair<std::string, std::string>>{
           {"%s %d %n %@ %1$@ %2$@ %% %", "%s %d %n 4 4 %2$@ % %"},
           {"Several wallets", "Several wallets"}}) {
    TestDevice t;
    t.withTable("en", {{"widget_wallets_count", format}}).withStore({});
    EXPECT_EQ(makeWalletLabel(t.device(), "multi", "", 4), label) << format;
  }
}

// A file system on which the suite file changes after every opening: the first opening sees the
// first version, every later one the last.
class ChangingSuite final : public os::FileSystem {
 public:
  ChangingSuite(std::shared_ptr<const os::FileSystem> base, std::vector<std::string> versions)
      : base_(std::move(base)), versions_(std::move(versions)) {}
  os::FileKind kind(const std::string& path) const override { return base_->kind(path); }
  std::optional<std::string> readFile(const std::string& path,
                                      std::size_t maxBytes) const override {
    if (path != testing_support::kSuitePath) return base_->readFile(path, maxBytes);
    // An opening reads until two readings agree: each version lasts two readings.
    std::size_t n = std::min(readings_++ / 2, versions_.size() - 1);
    return versions_[n];
  }
  std::vector<std::string> listDirectory(const std::string& path) const override {
    return base_->listDirectory(path);
  }

 private:
  std::shared_ptr<const os::FileSystem> base_;
  std::vector<std::string> versions_;
  mutable std::size_t readings_ = 0;
};

TEST(LoadSummaryEntry, LabelsComeFromTheSameReadingOfTheStoreAsTheFigures) {
  auto t = withTables();
  t.withStore({});
  auto d = t.device();
  d.fileSystem = std::make_shared<ChangingSuite>(
      d.fileSystem, std::vector<std::string>{
                        testing_support::xmlPlist({{"widget_language", std::string("de")},
                                                   {"widget_wallet_mode", std::string("multi")},
                                                   {"widget_wallet_count", std::string("4")}}),
                        ""});
  auto entry = loadSummaryEntry(d);
  EXPECT_EQ(entry.periodLabel, "Dieser Monat");
  EXPECT_EQ(entry.walletLabel, "4 Konten");
}

TEST(SampleSummaryEntry, HasTheSampleFiguresAndReadsTheClockTwice) {
  foundation::SteppingClock clock(foundation::Date{1000}, 1);
  auto sample = makeSampleSummaryEntry(clock);
  EXPECT_EQ(sample.income, 4200);
  EXPECT_EQ(sample.expense, 1850);
  EXPECT_EQ(sample.balance, 2350);
  EXPECT_EQ(sample.currencySymbol, "$");
  EXPECT_EQ(sample.periodLabel, "This Month");
  EXPECT_EQ(sample.walletLabel, "All Wallets");
  EXPECT_TRUE(sample.isLoggedIn);
  EXPECT_EQ(sample.date, foundation::Date{1000});
  EXPECT_EQ(sample.lastUpdate, foundation::Date{1001});
}

TEST(SampleSummaryEntry, ConcurrentFirstUsesBuildItOnceAndAllSeeIt) {
  foundation::SteppingClock clock(foundation::Date{5000}, 1);
  std::vector<const TamsaSummaryEntry*> seen(8);
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&, i] { seen[i] = &sampleSummaryEntry(clock); });
  for (auto& th : threads) th.join();
  EXPECT_EQ(std::set<const TamsaSummaryEntry*>(seen.begin(), seen.end()).size(), 1u);
  // Built at most once in this process: two clock readings, or none if another test built it.
  EXPECT_TRUE(clock.readings() == 2 || clock.readings() == 0);
  foundation::FixedClock later(foundation::Date{9e9});
  EXPECT_EQ(sampleSummaryEntry(later).date, seen[0]->date);
}

}  // namespace
}  // namespace tamsa
