// The widget host: takes over the process from the extension's entry, sets up the device from
// the command line, evaluates the bundle once, and answers one command.
#include <cstdlib>

#include "host/DeviceSetup.h"
#include "host/HostSession.h"
#include "platform/widgetkit/WidgetBundle.h"

namespace widgetkit {

int runExtensionHost(int argc, char** argv, const WidgetBundleBody& body) {
  auto parsed = host::parseCommandLine(argc, argv);
  if (auto* status = std::get_if<int>(&parsed)) return *status;
  const auto& options = std::get<host::HostOptions>(parsed);

  auto made = host::makeDevice(options, [](const char* name) { return std::getenv(name); });
  if (auto* message = std::get_if<std::string>(&made)) return host::usageError(*message);
  auto& device = std::get<device::Device>(made);
  // This thread is the main thread: it owns the main actor and drains it.
  device.mainActor = std::make_shared<os::MainActor>();

  host::HostSession session{options, device, body(device).declared(), body};
  const std::string& c = options.command;
  if (c == "widgets") return host::runWidgetsCommand(session);
  if (c == "perform") return host::runPerformCommand(session);
  if (c == "render") return host::runRenderCommand(session);
  if (c == "tap") return host::runTapCommand(session);
  if (c == "gallery") return host::runGalleryCommand(session);
  return host::runEntryCommand(session);
}

}  // namespace widgetkit
