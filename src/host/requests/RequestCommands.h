// The commands that ask the extension something and print its answer: placeholder, snapshot and
// timeline (entries as JSON), tap (the link a tap opens), widgets (what the bundle declares) and
// perform (the control's intent, as the system runs it).
#pragma once

#include <optional>
#include <string>

#include "host/core/HostSession.h"

namespace host {

Outcome runEntryCommand(const HostSession& session);  // placeholder, snapshot, timeline
Outcome runTapCommand(const HostSession& session);
Outcome runWidgetsCommand(const HostSession& session);
Outcome runPerformCommand(const HostSession& session);

// The link a tap on the widget showing this entry opens; nothing when it opens none.
std::optional<std::string> tapLink(const widgetkit::WidgetConfiguration& widget,
                                   widgetkit::WidgetFamily family,
                                   const widgetkit::AnyTimelineEntry& entry);
// Runs the control's intent as the system does and gives the URL it asks the system to open;
// nothing when it opens none. Call on the thread that owns the device's main actor: it drains it.
std::optional<std::string> performControl(const device::Device& device,
                                          const widgetkit::ControlConfiguration& control);

}  // namespace host
