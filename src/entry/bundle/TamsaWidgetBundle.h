// The extension's widget bundle: what it declares to the widget host, in order.
#pragma once

#include "platform/device/Device.h"
#include "platform/widgetkit/WidgetBundle.h"

namespace tamsa {

struct TamsaWidgetBundle {
  widgetkit::WidgetBundleContents body(const device::Device& device) const;
};

}  // namespace tamsa
