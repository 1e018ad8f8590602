#include "summary/data/TamsaSummaryEntry.h"

namespace tamsa {

std::vector<widgetkit::EntryField> entryFields(const TamsaSummaryEntry& entry) {
  widgetkit::FieldValue lastUpdate = widgetkit::Null{};
  if (entry.lastUpdate) lastUpdate = *entry.lastUpdate;
  return {
      {"date", entry.date},
      {"income", entry.income},
      {"expense", entry.expense},
      {"balance", entry.balance},
      {"currencySymbol", entry.currencySymbol},
      {"periodLabel", entry.periodLabel},
      {"walletLabel", entry.walletLabel},
      {"lastUpdate", lastUpdate},
      {"isLoggedIn", entry.isLoggedIn},
  };
}

}  // namespace tamsa
