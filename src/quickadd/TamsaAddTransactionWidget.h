// The quick-add widget: a large plus in a fixed teal accent over a one-line localized title,
// opening the add-transaction screen when tapped. Small family only.
#pragma once

#include <string>

#include "platform/device/Device.h"
#include "platform/swiftui/View.h"
#include "platform/widgetkit/WidgetConfiguration.h"
#include "quickadd/TamsaAddEntry.h"

namespace tamsa {

// The same in light and dark appearance.
swiftui::Color quickAddAccent();

struct TamsaAddTransactionEntryView {
  TamsaAddEntry entry;
  swiftui::Color accent;
  // Where the title's text comes from; outlives the view.
  const device::Device* device = nullptr;

  swiftui::View body() const;
};

// The configuration's content for one entry, with the background the system version calls for.
swiftui::View quickAddWidgetContent(const device::Device& device, const TamsaAddEntry& entry);

struct TamsaAddTransactionWidget {
  std::string kind = "TamsaAddTransactionWidget";

  // Name and description follow the language recorded in the store when the body is built. The
  // configuration refers to device, which must outlive it.
  widgetkit::WidgetConfiguration body(const device::Device& device) const;
};

}  // namespace tamsa
