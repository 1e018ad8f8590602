#include "host/system/SystemActions.h"

#include <chrono>

#include "platform/swiftui/Layout.h"

namespace host {

std::optional<std::string> tapLink(const widgetkit::WidgetConfiguration& widget,
                                   widgetkit::WidgetFamily family,
                                   const widgetkit::AnyTimelineEntry& entry) {
  swiftui::EnvironmentValues env;
  env.widgetFamily = family;
  return swiftui::inspect(widget.content(entry), env).widgetURL;
}

std::optional<std::string> performControl(const device::Device& device,
                                          const widgetkit::ControlConfiguration& control) {
  auto result = control.button().action.perform();
  // The intent finishes on the main actor: this thread drains it until the result is in.
  device.mainActor->drainUntil(
      [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
  const auto& r = result.get();
  if (!r.opensIntent) return std::nullopt;
  return r.opensIntent->url.absoluteString();
}

}  // namespace host
