// widgets and perform: what the bundle declares, and running a control's intent as the system
// does when the control's button is tapped.
#include <nlohmann/json.hpp>

#include "host/core/FamilyNames.h"
#include "host/core/OutputFiles.h"
#include "host/requests/RequestCommands.h"
#include "host/system/SystemActions.h"

namespace host {
namespace {

std::string resolvedName(const device::Device& d,
                         const widgetkit::WidgetConfiguration::DisplayName& name) {
  if (auto* key = std::get_if<swiftui::LocalizedStringKey>(&name))
    return foundation::NSLocalizedString(d.mainBundle, key->key);
  return std::get<std::string>(name);
}

}  // namespace

Outcome runWidgetsCommand(const HostSession& s, const WidgetsOptions&) {
  nlohmann::ordered_json out = nlohmann::ordered_json::array();
  for (const auto& member : s.declared) {
    if (auto* w = std::get_if<widgetkit::WidgetConfiguration>(&member)) {
      nlohmann::ordered_json families = nlohmann::ordered_json::array();
      for (auto f : w->families()) families.push_back(familyName(f));
      out.push_back({{"kind", w->kind()},
                     {"type", "widget"},
                     {"displayName", resolvedName(s.device, w->displayName())},
                     {"description", w->description()},
                     {"families", families}});
    } else {
      const auto& c = std::get<widgetkit::ControlConfiguration>(member);
      out.push_back({{"kind", c.kind()},
                     {"type", "control"},
                     {"displayName", c.displayName().resolved(s.device.mainBundle)},
                     {"description", c.description().resolved(s.device.mainBundle)}});
    }
  }
  return writeStandardOutput(out.dump(2) + "\n");
}

Outcome runPerformCommand(const HostSession& s, const KindOptions& o) {
  auto control = s.control(o.kind);
  if (!control) return control.failure();
  auto url = performControl(s.device, **control);
  if (!url) return Failure::runtime("perform: the intent opens nothing");
  return writeStandardOutput(*url + "\n");
}

}  // namespace host
