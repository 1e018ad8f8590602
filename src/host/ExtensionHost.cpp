// The widget host: takes over the process from the extension's entry, reads the command line
// once into typed options against the table of commands, sets up the device, evaluates the bundle
// once, and runs the one command chosen. Every failure reaches the user here, as one line on
// standard error.
#include <cstdlib>

#include "host/HostCommands.h"
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

}  // namespace

std::vector<CommandRow> hostCommands() {
  std::vector<CommandRow> rows;
  for (auto family : {requestCommands, renderCommands, galleryCommands, snapshotCommands,
                      storeCommands, lintCommands, serveCommands})
    for (auto& row : family()) rows.push_back(std::move(row));
  return rows;
}

}  // namespace host

namespace widgetkit {

int runExtensionHost(int argc, char** argv, const WidgetBundleBody& body) {
  using namespace host;
  auto parsed = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), hostCommands());
  if (!parsed) return exitWith(parsed.failure());
  if (!parsed->run) return exitWith(writeStandardOutput(parsed->text));
  const ChosenCommand& command = *parsed->run;

  InstallPaths paths = InstallPaths::ofThisProgram();
  auto made = makeDevice(
      command.device, [](const char* name) { return std::getenv(name); }, paths);
  if (!made) return exitWith(made.failure());
  device::Device& device = *made;
  // This thread is the main thread: it owns the main actor and drains it.
  device.mainActor = std::make_shared<os::MainActor>();

  HostSession session{command.device, device, body(device).declared(), body, paths, printWarning};
  return exitWith(command.run(session));
}

}  // namespace widgetkit
