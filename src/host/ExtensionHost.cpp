// The widget host: takes over the process from the extension's entry, reads the command line
// once into typed options, sets up the device, evaluates the bundle once, and answers one
// command. Every failure reaches the user here, as one line on standard error.
#include <cstdlib>

#include "host/core/CommandLine.h"
#include "host/core/DeviceSetup.h"
#include "host/core/Messages.h"
#include "host/core/OutputFiles.h"
#include "host/gallery/GalleryCommands.h"
#include "host/lint/LintCommand.h"
#include "host/render/DrawingCommands.h"
#include "host/requests/RequestCommands.h"
#include "host/serve/ServeCommands.h"
#include "host/snapshot/SnapshotCommands.h"
#include "host/store/StoreCommands.h"
#include "platform/widgetkit/WidgetBundle.h"

namespace host {
namespace {

int exitWith(const Outcome& outcome) {
  if (outcome) return static_cast<int>(ExitStatus::success);
  const Failure& f = outcome.failure();
  printMessage(f.message);
  return static_cast<int>(f.status);
}

Outcome run(const HostSession& session) {
  switch (session.options.command) {
    case Command::widgets:
      return runWidgetsCommand(session);
    case Command::perform:
      return runPerformCommand(session);
    case Command::render:
      return runRenderCommand(session);
    case Command::tap:
      return runTapCommand(session);
    case Command::gallery:
      return runGalleryCommand(session);
    case Command::store:
      return runStoreCommand(session);
    case Command::lint:
      return runLintCommand(session);
    case Command::serve:
      return runServeCommand(session);
    case Command::snapshotRecord:
    case Command::snapshotVerify:
      return runSnapshotCommand(session);
    case Command::placeholder:
    case Command::snapshot:
    case Command::timeline:
      break;
  }
  return runEntryCommand(session);
}

}  // namespace
}  // namespace host

namespace widgetkit {

int runExtensionHost(int argc, char** argv, const WidgetBundleBody& body) {
  using namespace host;
  auto parsed = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed) return exitWith(parsed.failure());
  if (!parsed->run) return exitWith(writeStandardOutput(parsed->text));
  const HostOptions& options = *parsed->run;

  InstallPaths paths = InstallPaths::ofThisProgram();
  auto made = makeDevice(
      options.device, [](const char* name) { return std::getenv(name); }, paths);
  if (!made) return exitWith(made.failure());
  device::Device& device = *made;
  // This thread is the main thread: it owns the main actor and drains it.
  device.mainActor = std::make_shared<os::MainActor>();

  HostSession session{options, device, body(device).declared(), body, paths, printWarning};
  return exitWith(run(session));
}

}  // namespace widgetkit
