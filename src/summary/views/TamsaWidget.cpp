#include "summary/views/TamsaWidget.h"

#include "shared/LocalizedKeys.h"
#include "shared/LocalizedWidgetString.h"
#include "summary/data/TamsaProvider.h"
#include "summary/views/TamsaWidgetEntryView.h"

namespace tamsa {

widgetkit::WidgetConfiguration TamsaWidget::body(const device::Device& device) const {
  const device::Device* d = &device;
  return widgetkit::WidgetConfiguration::staticConfiguration(
             kind, TamsaProvider{},
             [d](const TamsaSummaryEntry& entry) { return summaryWidgetContent(*d, entry); })
      .configurationDisplayName(swiftui::LocalizedStringKey{keys::summaryDisplayName})
      .description(localizedWidgetString(device, keys::summaryDescription))
      .supportedFamilies(
          {widgetkit::WidgetFamily::systemSmall, widgetkit::WidgetFamily::systemMedium});
}

}  // namespace tamsa
