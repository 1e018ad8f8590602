// serve: a live preview of the home screen in the browser, on this machine only unless told
// otherwise, following the container and the string tables as they change, or keeping each
// widget's timeline as the phone does.
#pragma once

#include "host/core/HostSession.h"

namespace host {

// Serves until interrupted (SIGINT or SIGTERM); a runtime failure when the address cannot be
// bound or the folders cannot be watched.
Outcome runServeCommand(const HostSession& session);

}  // namespace host
