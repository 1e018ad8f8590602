#include "summary/views/TamsaWidget.h"

#include "summary/data/TamsaProvider.h"

namespace tamsa {

widgetkit::WidgetConfiguration TamsaWidget::body(const device::Device&) const {
  return widgetkit::WidgetConfiguration::staticConfiguration(kind, TamsaProvider{})
      .supportedFamilies(
          {widgetkit::WidgetFamily::systemSmall, widgetkit::WidgetFamily::systemMedium});
}

}  // namespace tamsa
