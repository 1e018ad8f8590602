// The serve module's one entry, found by name when `serve` loads the module.
#include "host/serve/server/PreviewServer.h"

extern "C" void tamsaRunPreviewServer(const host::HostSession& session,
                                      const host::ServeOptions& options, host::Outcome& outcome) {
  outcome = host::runPreviewServer(session, options);
}
