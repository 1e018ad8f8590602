// The extension's widget bundle: the summary widget, the quick-add widget and, from iOS 18.0, the
// add-transaction control, in that order. Which exist is decided when the host evaluates the body.
#pragma once

#include "platform/device/Device.h"
#include "platform/widgetkit/WidgetBundle.h"

namespace tamsa {

struct TamsaWidgetBundle {
  widgetkit::TupleWidget body(const device::Device& device) const;
};

// The bundle's third slot: the control on iOS 18.0 and later, nothing before.
widgetkit::WidgetBundleSlot controlSlot(const device::Device& device);

// Names the bundle that contains it; nothing depends on it.
class ResourceBundleClass {};

}  // namespace tamsa
