// The host's short names of widget families: "small", "medium", ...
#pragma once

#include <optional>
#include <string>

#include "platform/swiftui/WidgetFamily.h"

namespace host {

std::string familyName(swiftui::WidgetFamily family);
std::optional<swiftui::WidgetFamily> familyFromName(const std::string& name);

}  // namespace host
