#include "host/core/FamilyNames.h"

#include "host/core/Names.h"

namespace host {

std::string familyName(swiftui::WidgetFamily family) {
  auto name = kFamilyNames.nameOf(family);
  return name.empty() ? "unknown" : std::string(name);
}

std::optional<swiftui::WidgetFamily> familyFromName(const std::string& name) {
  return kFamilyNames.valueOf(name);
}

}  // namespace host
