// The widget host: takes over the process from the extension's entry, sets up the device from
// the command line, evaluates the bundle once, and answers one command.
#include <cstdlib>
#include <iostream>

#include "host/DeviceSetup.h"
#include "host/EntryJson.h"
#include "host/HostOptions.h"
#include "platform/widgetkit/WidgetBundle.h"

namespace widgetkit {
namespace {

int fail(const std::string& message) {
  std::cerr << "tamsa-widgets: " << message << "\n";
  return 2;
}

const WidgetConfiguration* findWidget(const WidgetBundleContents& contents,
                                      const std::string& kind) {
  for (const auto& w : contents.widgets)
    if (w.kind() == kind) return &w;
  return nullptr;
}

std::string declaredKinds(const WidgetBundleContents& contents) {
  std::string out;
  for (const auto& w : contents.widgets) out += (out.empty() ? "" : ", ") + w.kind();
  return out;
}

}  // namespace

int runExtensionHost(int argc, char** argv, const WidgetBundleBody& body) {
  auto parsed = host::parseCommandLine(argc, argv);
  if (auto* status = std::get_if<int>(&parsed)) return *status;
  const auto& options = std::get<host::HostOptions>(parsed);

  auto made = host::makeDevice(options, [](const char* name) { return std::getenv(name); });
  if (auto* message = std::get_if<std::string>(&made)) return fail(*message);
  const auto& device = std::get<device::Device>(made);

  WidgetBundleContents contents = body(device);
  const WidgetConfiguration* widget = findWidget(contents, options.kind);
  if (!widget)
    return fail("unknown kind '" + options.kind +
                "' (the bundle declares: " + declaredKinds(contents) + ")");

  TimelineProviderContext context{device};
  context.isPreview = options.preview;
  nlohmann::ordered_json out;
  if (options.command == "placeholder") {
    out = host::entryJson(widget->placeholder(context));
  } else if (options.command == "snapshot") {
    out = host::entryJson(widget->snapshot(context));
  } else {
    out = host::timelineJson(widget->timeline(context));
  }
  std::cout << out.dump(2) << "\n";
  return 0;
}

}  // namespace widgetkit
