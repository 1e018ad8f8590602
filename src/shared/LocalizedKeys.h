// Every key the extension looks up in its string tables, named once: the views, the loader and
// the widget configurations use these names, and the translators' lint checks the tables against
// the same list. Constants only; thread-safe.
#pragma once

#include <array>
#include <string_view>

namespace tamsa {

namespace keys {
inline constexpr const char* periodDay = "widget_period_day";
inline constexpr const char* periodWeek = "widget_period_week";
inline constexpr const char* periodMonth = "widget_period_month";
inline constexpr const char* periodYear = "widget_period_year";
inline constexpr const char* periodAllTime = "widget_period_all_time";
inline constexpr const char* periodCustom = "widget_period_custom";
inline constexpr const char* allWallets = "widget_all_wallets";
inline constexpr const char* walletsCount = "widget_wallets_count";
inline constexpr const char* income = "widget_income";
inline constexpr const char* expense = "widget_expense";
inline constexpr const char* balance = "widget_balance";
inline constexpr const char* updatedAt = "widget_updated_at";
inline constexpr const char* loggedOutMessage = "widget_logged_out_message";
inline constexpr const char* summaryDescription = "widget_summary_description";
inline constexpr const char* addTransactionTitle = "widget_add_transaction_title";
inline constexpr const char* addTransactionDescription = "widget_add_transaction_description";
// Resolved by the platform, in the system's language only.
inline constexpr const char* summaryDisplayName = "Tamsa";
inline constexpr const char* plusSign = "+";
}  // namespace keys

// What a key's text is, which says what a translation of it must keep.
enum class KeyUse {
  text,          // shown as written
  walletFormat,  // a format with one string argument: exactly one "%@" or "%1$@"
  unchanged,     // the brand and the plus sign: the same in every language
};

struct LocalizedKey {
  std::string_view key;
  KeyUse use;
};

inline constexpr std::array<LocalizedKey, 18> localizedKeys{{
    {keys::periodDay, KeyUse::text},
    {keys::periodWeek, KeyUse::text},
    {keys::periodMonth, KeyUse::text},
    {keys::periodYear, KeyUse::text},
    {keys::periodAllTime, KeyUse::text},
    {keys::periodCustom, KeyUse::text},
    {keys::allWallets, KeyUse::text},
    {keys::walletsCount, KeyUse::walletFormat},
    {keys::income, KeyUse::text},
    {keys::expense, KeyUse::text},
    {keys::balance, KeyUse::text},
    {keys::updatedAt, KeyUse::text},
    {keys::loggedOutMessage, KeyUse::text},
    {keys::summaryDescription, KeyUse::text},
    {keys::addTransactionTitle, KeyUse::text},
    {keys::addTransactionDescription, KeyUse::text},
    {keys::summaryDisplayName, KeyUse::unchanged},
    {keys::plusSign, KeyUse::unchanged},
}};

}  // namespace tamsa
