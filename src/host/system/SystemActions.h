// What the system does when a person taps a widget or a control: the link the tap opens, and the
// control's intent run as the system runs it.
#pragma once

#include <optional>
#include <string>

#include "platform/device/Device.h"
#include "platform/widgetkit/ControlConfiguration.h"
#include "platform/widgetkit/WidgetConfiguration.h"

namespace host {

// The link a tap on the widget showing this entry opens; nothing when it opens none.
std::optional<std::string> tapLink(const widgetkit::WidgetConfiguration& widget,
                                   widgetkit::WidgetFamily family,
                                   const widgetkit::AnyTimelineEntry& entry);
// Runs the control's intent as the system does and gives the URL it asks the system to open;
// nothing when it opens none. Call on the thread that owns the device's main actor: it drains it.
std::optional<std::string> performControl(const device::Device& device,
                                          const widgetkit::ControlConfiguration& control);

}  // namespace host
