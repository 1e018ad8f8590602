// The preview server: serves the preview page on the listening address until SIGINT or SIGTERM.
// Built into the serve module, with the HTTP library.
#pragma once

#include "host/core/HostSession.h"
#include "host/serve/ServeCommands.h"

namespace host {

// A runtime failure when the address cannot be bound or the folders cannot be watched.
Outcome runPreviewServer(const HostSession& session, const ServeOptions& options);

}  // namespace host
