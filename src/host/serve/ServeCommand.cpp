// serve's row: its options, and the preview server, which lives in a module of its own so that
// the HTTP library (and the TLS library it brings) is loaded only to serve.
#include <dlfcn.h>

#include <CLI/CLI.hpp>
#include <memory>

#include "drawing/FontSet.h"
#include "host/serve/ServeCommands.h"

namespace host {

namespace {

struct ServeWords {
  std::optional<std::string> listen, port;
  LookWords look;
};

Result<ServeOptions> readServe(const ServeWords& w) {
  ServeOptions s;
  if (w.listen) {
    if (w.listen->empty()) return Failure::usage("--listen: no address given");
    s.listen = *w.listen;
  }
  if (w.port) {
    auto port = wholeNumberFromWord("--port", *w.port, 0, 65535);
    if (!port) return port.failure();
    s.port = *port;
  }
  auto look = readLookOptions(w.look);
  if (!look) return look.failure();
  s.look = *look;
  return s;
}

std::function<Result<ReadOptions<ServeOptions>>()> declareServe(CLI::App& sub,
                                                                const DeviceWords& global) {
  auto w = std::make_shared<ServeWords>();
  sub.add_option("--port", w->port, "TCP port (default 8765; 0 takes a free one)");
  sub.add_option("--listen", w->listen,
                 "Address to listen on (default 127.0.0.1: this machine only)");
  addLookOptions(sub, w->look);
  addHomeScreenOptions(sub, w->look);
  return [w, &global] { return withDevice(global, readServe(*w)); };
}

}  // namespace

std::vector<CommandRow> serveCommands() {
  return {commandRow<ServeOptions>("serve",
                                   "Serve a live preview of the home screen in the browser, "
                                   "following the container and the string tables as they change",
                                   declareServe, runServeCommand)};
}

Outcome runServeCommand(const HostSession& session, const ServeOptions& o) {
  if (auto fonts = drawing::pinnedFonts(); !fonts) return fonts.failure();
  const std::string& path = session.paths.serveModule;
  // Kept loaded until the process ends: the server's threads are gone by then, its statics not.
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module)
    return Failure::runtime("serve: the preview server cannot be loaded (" +
                            std::string(dlerror()) + "); reinstall tamsa-widgets");
  auto run = reinterpret_cast<PreviewServerEntry>(dlsym(module, kPreviewServerEntry));
  if (!run) return Failure::runtime("serve: " + path + " is not this program's preview server");
  Outcome outcome = Done{};
  run(session, o, outcome);
  return outcome;
}

}  // namespace host
