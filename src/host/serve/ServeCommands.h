// serve: a live preview of the home screen in the browser, on this machine only unless told
// otherwise, following the container and the string tables as they change, or keeping each
// widget's timeline as the phone does.
#pragma once

#include <string>
#include <vector>

#include "host/core/CommandLine.h"
#include "host/core/HostSession.h"

namespace host {

// Where the preview server listens: loopback unless told otherwise; port 0 takes a free one.
struct ServeOptions {
  std::string listen = "127.0.0.1";
  int port = 8765;
  LookOptions look;
};

std::vector<CommandRow> serveCommands();

// Loads the preview server and serves until interrupted (SIGINT or SIGTERM); a runtime failure
// when the module cannot be loaded, the address cannot be bound or the folders cannot be watched.
Outcome runServeCommand(const HostSession& session, const ServeOptions& options);

// The serve module's entry, by name and type.
inline constexpr const char* kPreviewServerEntry = "tamsaRunPreviewServer";
using PreviewServerEntry = void (*)(const HostSession&, const ServeOptions&, Outcome&);

}  // namespace host
