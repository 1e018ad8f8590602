// The background rule both widgets follow, by system version: from iOS 17 the content declares a
// container background and the host adds its content margins around it; before, the widget insets
// its content by 14 points over the system background colour itself.
#pragma once

#include "platform/device/Device.h"
#include "platform/swiftui/View.h"

namespace tamsa {

swiftui::View widgetBackground(const device::Device& device, swiftui::View content);

}  // namespace tamsa
