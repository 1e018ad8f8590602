#include "summary/data/SummaryLoader.h"

#include <cmath>
#include <functional>

#include "platform/foundation/Calendar.h"
#include "platform/foundation/Once.h"
#include "platform/foundation/StringFormat.h"
#include "shared/LocalizedKeys.h"
#include "shared/LocalizedWidgetString.h"
#include "shared/SharedSettingsStore.h"
#include "summary/data/NumberConversions.h"

namespace tamsa {

namespace {

using TextLookup = std::function<std::string(const char* key)>;

std::string periodLabel(const std::string& periodType, const TextLookup& text) {
  const char* key = keys::periodMonth;
  if (periodType == "day")
    key = keys::periodDay;
  else if (periodType == "week")
    key = keys::periodWeek;
  else if (periodType == "year")
    key = keys::periodYear;
  else if (periodType == "all_time")
    key = keys::periodAllTime;
  else if (periodType == "custom")
    key = keys::periodCustom;
  return text(key);
}

std::string walletLabel(const std::string& walletMode, const std::string& walletNames,
                        std::int64_t walletCount, const TextLookup& text) {
  if (walletMode == "multi") {
    return foundation::formatWithStringArgument(text(keys::walletsCount),
                                                std::to_string(walletCount));
  }
  if (walletMode == "all" || walletNames.empty()) return text(keys::allWallets);
  return walletNames;
}

}  // namespace

TamsaSummaryEntry fallbackSummaryEntry(foundation::Date now) {
  return TamsaSummaryEntry{
      .date = now,
      .income = 0,
      .expense = 0,
      .balance = 0,
      .currencySymbol = "$",
      .periodLabel = "This Month",
      .walletLabel = "All Wallets",
      .lastUpdate = std::nullopt,
      .isLoggedIn = false,
  };
}

TamsaSummaryEntry loadSummaryEntry(const device::Device& device) {
  auto store = SharedSettingsStore::open(device);
  if (!store) return fallbackSummaryEntry(device.now());

  std::string authStatus = store->stringForKey("widget_auth_status").value_or("logged_out");
  std::string currencySymbol = store->stringForKey("widget_currency_symbol").value_or("$");
  std::string periodType = store->stringForKey("widget_period_type").value_or("month");
  std::string walletMode = store->stringForKey("widget_wallet_mode").value_or("single");
  std::string walletNames = store->stringForKey("widget_wallet_names").value_or("");
  std::int64_t walletCount =
      integerFromText(store->stringForKey("widget_wallet_count").value_or("0")).value_or(0);

  std::optional<foundation::Date> lastUpdate;
  if (auto text = store->stringForKey("widget_last_update")) {
    auto millis = doubleFromText(*text);
    // "inf", "1e400" and "1e300" convert too, but name no time the calendar can show.
    if (millis && *millis > 0 && std::isfinite(*millis)) {
      auto date = foundation::Date::fromTimeIntervalSince1970(*millis / 1000.0);
      if (foundation::isRepresentableByCalendar(date)) lastUpdate = date;
    }
  }

  TamsaSummaryEntry entry;
  entry.date = device.now();
  entry.income = store->doubleForKey("widget_income");
  entry.expense = store->doubleForKey("widget_expense");
  entry.balance = store->doubleForKey("widget_balance");
  entry.currencySymbol = std::move(currencySymbol);
  // The labels are looked up in the language of this same opening of the store: one rewritten
  // meanwhile must not give them another version's language.
  auto text = [&](const char* key) { return localizedWidgetString(device, key, store); };
  entry.periodLabel = periodLabel(periodType, text);
  entry.walletLabel = walletLabel(walletMode, walletNames, walletCount, text);
  entry.lastUpdate = lastUpdate;
  entry.isLoggedIn = authStatus == "logged_in";
  return entry;
}

TamsaSummaryEntry makeSampleSummaryEntry(const foundation::Clock& clock) {
  TamsaSummaryEntry entry;
  entry.date = clock.now();
  entry.income = 4200;
  entry.expense = 1850;
  entry.balance = 2350;
  entry.currencySymbol = "$";
  entry.periodLabel = "This Month";
  entry.walletLabel = "All Wallets";
  entry.lastUpdate = clock.now();
  entry.isLoggedIn = true;
  return entry;
}

const TamsaSummaryEntry& sampleSummaryEntry(const foundation::Clock& clock) {
  static const foundation::Once<TamsaSummaryEntry> sample;
  return sample.get([&] { return makeSampleSummaryEntry(clock); });
}

std::string makePeriodLabel(const device::Device& device, const std::string& periodType) {
  return periodLabel(periodType,
                     [&](const char* key) { return localizedWidgetString(device, key); });
}

std::string makeWalletLabel(const device::Device& device, const std::string& walletMode,
                            const std::string& walletNames, std::int64_t walletCount) {
  return walletLabel(walletMode, walletNames, walletCount,
                     [&](const char* key) { return localizedWidgetString(device, key); });
}

}  // namespace tamsa
