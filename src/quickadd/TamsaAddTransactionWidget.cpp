#include "quickadd/TamsaAddTransactionWidget.h"

#include <limits>

#include "platform/foundation/URL.h"
#include "quickadd/AddTransactionLink.h"
#include "shared/LocalizedKeys.h"
#include "shared/LocalizedWidgetString.h"
#include "shared/Palette.h"
#include "shared/WidgetBackground.h"

namespace tamsa {

using namespace swiftui;

Color quickAddAccent() {
  return Color::sRGB(0.082, 0.773, 0.808, 1.0);
}

View TamsaAddTransactionEntryView::body() const {
  constexpr double infinity = std::numeric_limits<double>::infinity();
  std::optional<std::string> link;
  if (auto url = foundation::URL::string(addTransactionURL())) link = url->absoluteString();
  return VStack(HorizontalAlignment::center, 2,
                {
                    Text(LocalizedStringKey{keys::plusSign})
                        .font(Font::system(46, Font::Weight::bold))
                        .foregroundColor(accent),
                    Text(localizedWidgetString(*device, keys::addTransactionTitle))
                        .font(Font::system(12, Font::Weight::medium))
                        .foregroundColor(secondaryTextColor())
                        .lineLimit(1)
                        .minimumScaleFactor(0.8),
                })
      .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment{}})
      .widgetURL(link);
}

View quickAddWidgetContent(const device::Device& device, const TamsaAddEntry& entry) {
  return widgetBackground(device,
                          TamsaAddTransactionEntryView{entry, quickAddAccent(), &device}.body());
}

widgetkit::WidgetConfiguration TamsaAddTransactionWidget::body(const device::Device& device) const {
  const device::Device* d = &device;
  return widgetkit::WidgetConfiguration::staticConfiguration(
             kind, TamsaAddProvider{},
             [d](const TamsaAddEntry& entry) { return quickAddWidgetContent(*d, entry); })
      .configurationDisplayName(localizedWidgetString(device, keys::addTransactionTitle))
      .description(localizedWidgetString(device, keys::addTransactionDescription))
      .supportedFamilies({widgetkit::WidgetFamily::systemSmall});
}

}  // namespace tamsa
