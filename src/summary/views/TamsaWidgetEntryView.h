// The summary widget's views: the root view with its family and sign-in dispatch, the signed-out
// message, and the small and medium layouts. View-building operations return their children
// without a stack; the caller stacks them. Values, rebuilt for every render.
#pragma once

#include <string>

#include "platform/device/Device.h"
#include "platform/swiftui/View.h"
#include "shared/AppConfiguration.h"
#include "summary/data/TamsaSummaryEntry.h"

namespace tamsa {

inline const std::string summaryWidgetURL = std::string(deepLinkScheme) + "://widget";

struct TamsaWidgetEntryView {
  // The family is not stored: summaryContent reads it from the environment it is laid out in.
  TamsaSummaryEntry entry;
  // Where texts, the clock's locale and time zone come from; outlives the view.
  const device::Device* device = nullptr;

  swiftui::View body() const;
  swiftui::View summaryContent() const;
  swiftui::View signedOutView() const;

  // Wallet label over period label.
  swiftui::ViewList summaryHeader() const;
  // Header, spacer, balance caption and amount, spacer, income and expense rows.
  swiftui::ViewList smallSummaryView() const;
  // Header, income and expense rows, divider, balance row, spacer, updated-at footer.
  swiftui::ViewList mediumSummaryView() const;
  // Label, spacer, amount.
  swiftui::ViewList balanceRow() const;
  // Spacer, then the updated-at label over the time.
  swiftui::ViewList updatedAtFooter() const;
};

// The configuration's content for one entry: the root view with the widget background the
// system version calls for (container background from iOS 17, else a 14-point inset over the
// system background colour).
swiftui::View summaryWidgetContent(const device::Device& device, const TamsaSummaryEntry& entry);

}  // namespace tamsa
