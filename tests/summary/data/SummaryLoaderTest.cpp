#include "summary/data/SummaryLoader.h"

#include <gtest/gtest.h>

#include "support/TestDevice.h"

namespace tamsa {
namespace {

using testing_support::Integer;
using testing_support::Real;
using testing_support::StoreValues;
using testing_support::TestDevice;
using S = std::string;

const std::map<S, S> kEnglish = {
    {"widget_period_day", "Today"},         {"widget_period_week", "This Week"},
    {"widget_period_month", "This Month"},  {"widget_period_year", "This Year"},
    {"widget_period_all_time", "All Time"}, {"widget_period_custom", "Custom Period"},
    {"widget_all_wallets", "All Wallets"},  {"widget_wallets_count", "%@ Wallets"},
};

TestDevice withTables() {
  return TestDevice()
      .withTable("en", kEnglish)
      .withTable("de",
                 {{"widget_period_month", "Dieser Monat"}, {"widget_wallets_count", "%@ Konten"}});
}

TamsaSummaryEntry load(const StoreValues& values) {
  return loadSummaryEntry(withTables().withStore(values).device());
}

TEST(LoadSummaryEntry, ReadsEveryKeyConvertingStoredTypesAsTheStoreCoercesThem) {
  auto entry = load({{"widget_auth_status", S("logged_in")},
                     {"widget_currency_symbol", S("€")},
                     {"widget_period_type", S("week")},
                     {"widget_wallet_mode", S("multi")},
                     {"widget_wallet_count", Integer{3}},
                     {"widget_last_update", Real{1.7e12}},
                     {"widget_income", S("  12abc")},
                     {"widget_expense", S("lots")},
                     {"widget_balance", Real{-12.25}}});
  EXPECT_EQ(entry, (TamsaSummaryEntry{TestDevice().device().now(), 12, 0, -12.25, "€", "This Week",
                                      "3 Wallets", foundation::Date{1.7e9}, true}));
  EXPECT_EQ(load({{"widget_wallet_mode", S("multi")}}).walletLabel, "0 Wallets");
  EXPECT_EQ(load({{"widget_currency_symbol", S("")}}).currencySymbol, "");
}

TEST(LoadSummaryEntry, EmptyOrMissingSuiteIsAnEmptyStoreButAnUnopenableOneTheFixedFallback) {
  auto t = withTables().withPreferredLanguages({"de"});
  EXPECT_EQ(loadSummaryEntry(t.device()).periodLabel, "Dieser Monat");
  t.withoutContainer();
  EXPECT_EQ(loadSummaryEntry(t.device()), fallbackSummaryEntry(t.device().now()));
  auto empty = withTables().withStore({}).device();
  EXPECT_EQ(loadSummaryEntry(empty), fallbackSummaryEntry(empty.now()));
}

TEST(LoadSummaryEntry, OnlyExactLoggedInSignsInAndOnlyAPositiveFiniteTimeIsAnUpdate) {
  for (S status : {"Logged_In", " logged_in", "logged_in ", "logged_out"})
    EXPECT_FALSE(load({{"widget_auth_status", status}}).isLoggedIn) << status;
  for (S text : {"0", "-5", "abc", "nan", "inf", "1e400", "-inf"})
    EXPECT_EQ(load({{"widget_last_update", text}}).lastUpdate, std::nullopt) << text;
  // Signed out still carries the figures.
  auto out = load({{"widget_balance", Real{99}}, {"widget_last_update", S("1")}});
  EXPECT_EQ(out.balance, 99);
  EXPECT_EQ(out.lastUpdate, foundation::Date{0.001});
}

TEST(Labels, PeriodCodesAreExactAndWalletLabelPicksCountAllOrNames) {
  auto d = withTables().withStore({}).device();
  for (S code : {"day", "week", "year", "all_time", "custom", "month"})
    EXPECT_EQ(makePeriodLabel(d, code), kEnglish.at("widget_period_" + code)) << code;
  for (S other : {"Day", "month ", ""}) EXPECT_EQ(makePeriodLabel(d, other), "This Month") << other;
  EXPECT_EQ(makeWalletLabel(d, "multi", "Cash", INT64_MIN), "-9223372036854775808 Wallets");
  EXPECT_EQ(makeWalletLabel(d, "all", "Cash", 1), "All Wallets");
  EXPECT_EQ(makeWalletLabel(d, "single", "", 1), "All Wallets");
  EXPECT_EQ(makeWalletLabel(d, "Multi", " Cash ", 5), " Cash ");
}

// The suite becomes empty after its first opening (an opening reads until two readings agree).
struct ChangingSuite final : os::FileSystem {
  std::shared_ptr<const os::FileSystem> base;
  mutable int readings = 0;
  os::FileKind kind(const S& path) const override { return base->kind(path); }
  std::vector<S> listDirectory(const S& path) const override { return base->listDirectory(path); }
  std::optional<S> readFile(const S& path, std::size_t max) const override {
    return path == testing_support::kSuitePath && readings++ >= 2 ? "" : base->readFile(path, max);
  }
};

TEST(LoadSummaryEntry, LabelsComeFromTheSameReadingOfTheStoreAsTheFigures) {
  auto d = withTables()
               .withStore({{"widget_language", S("de")},
                           {"widget_wallet_mode", S("multi")},
                           {"widget_wallet_count", S("4")}})
               .device();
  auto changing = std::make_shared<ChangingSuite>();
  changing->base = d.fileSystem;
  d.fileSystem = changing;
  auto entry = loadSummaryEntry(d);
  EXPECT_EQ(entry.periodLabel, "Dieser Monat");
  EXPECT_EQ(entry.walletLabel, "4 Konten");
}

// Built once: the provider's placeholder test pins that it keeps its first date.
TEST(SampleSummaryEntry, ReadsTheClockTwice) {
  foundation::SteppingClock clock(foundation::Date{1000}, 1);
  EXPECT_EQ(makeSampleSummaryEntry(clock),
            (TamsaSummaryEntry{foundation::Date{1000}, 4200, 1850, 2350, "$", "This Month",
                               "All Wallets", foundation::Date{1001}, true}));
}

}  // namespace
}  // namespace tamsa
