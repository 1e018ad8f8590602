// The summary widget's timeline entry: the period's figures and labels as the host app last wrote
// them. A plain value, copied into timelines.
#pragma once

#include <optional>
#include <string>

#include <vector>

#include "platform/foundation/Date.h"
#include "platform/widgetkit/TimelineEntry.h"

namespace tamsa {

struct TamsaSummaryEntry {
  foundation::Date date;
  double income = 0;
  double expense = 0;
  double balance = 0;
  std::string currencySymbol;
  std::string periodLabel;
  std::string walletLabel;
  std::optional<foundation::Date> lastUpdate;
  bool isLoggedIn = false;

  bool operator==(const TamsaSummaryEntry&) const = default;
};

// The nine fields under their names, for the host's reports.
std::vector<widgetkit::EntryField> entryFields(const TamsaSummaryEntry& entry);

}  // namespace tamsa
