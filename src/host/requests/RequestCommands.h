// The commands that ask the extension something and print its answer: placeholder, snapshot and
// timeline (entries as JSON), tap (the link a tap opens), widgets (what the bundle declares) and
// perform (the control's intent, as the system runs it).
#pragma once

#include "host/core/HostSession.h"

namespace host {

Outcome runEntryCommand(const HostSession& session);  // placeholder, snapshot, timeline
Outcome runTapCommand(const HostSession& session);
Outcome runWidgetsCommand(const HostSession& session);
Outcome runPerformCommand(const HostSession& session);

}  // namespace host
