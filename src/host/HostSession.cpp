#include "host/HostSession.h"

#include <iostream>

#include "host/render/HostDevice.h"

namespace host {

const widgetkit::WidgetConfiguration* HostSession::widget(const std::string& kind) const {
  for (const auto& m : declared)
    if (auto* w = std::get_if<widgetkit::WidgetConfiguration>(&m); w && w->kind() == kind) return w;
  return nullptr;
}

const widgetkit::ControlConfiguration* HostSession::control(const std::string& kind) const {
  for (const auto& m : declared)
    if (auto* c = std::get_if<widgetkit::ControlConfiguration>(&m); c && c->kind() == kind)
      return c;
  return nullptr;
}

std::string HostSession::notOffered(const std::string& kind) const {
  if (control(kind))
    return "'" + kind + "' is a control: it has no entries and no tap link (use perform or render)";
  std::string offered;
  for (const auto& m : declared) {
    const std::string& k =
        std::visit([](const auto& c) -> const std::string& { return c.kind(); }, m);
    offered += (offered.empty() ? "" : ", ") + k;
  }
  std::string system =
      device.systemVersion ? "iOS " + device.systemVersion->text() : "an unknown iOS version";
  return "'" + kind + "' is not offered on " + system + " (offered there: " + offered + ")";
}

widgetkit::TimelineProviderContext HostSession::context(widgetkit::WidgetFamily family,
                                                        bool isPreview) const {
  widgetkit::TimelineProviderContext ctx{device};
  ctx.family = family;
  ctx.isPreview = isPreview;
  return ctx;
}

std::optional<std::string> unknownDevice(const std::optional<std::string>& name) {
  if (!name || render::hostDevice(*name)) return std::nullopt;
  std::string names;
  for (const auto& n : render::hostDeviceNames()) names += (names.empty() ? "" : ", ") + n;
  return "--device: unknown device '" + *name + "' (accepted: " + names + ")";
}

int usageError(const std::string& message) {
  std::cerr << "tamsa-widgets: " << message << "\n";
  return 2;
}

}  // namespace host
