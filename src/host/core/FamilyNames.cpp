#include "host/core/FamilyNames.h"

#include <array>
#include <utility>

namespace host {
namespace {

using swiftui::WidgetFamily;
constexpr std::array<std::pair<WidgetFamily, const char*>, 7> kNames = {{
    {WidgetFamily::systemSmall, "small"},
    {WidgetFamily::systemMedium, "medium"},
    {WidgetFamily::systemLarge, "large"},
    {WidgetFamily::systemExtraLarge, "extraLarge"},
    {WidgetFamily::accessoryCircular, "accessoryCircular"},
    {WidgetFamily::accessoryRectangular, "accessoryRectangular"},
    {WidgetFamily::accessoryInline, "accessoryInline"},
}};

}  // namespace

std::string familyName(WidgetFamily family) {
  for (const auto& [f, name] : kNames)
    if (f == family) return name;
  return "unknown";
}

std::optional<WidgetFamily> familyFromName(const std::string& name) {
  for (const auto& [f, n] : kNames)
    if (name == n) return f;
  return std::nullopt;
}

}  // namespace host
