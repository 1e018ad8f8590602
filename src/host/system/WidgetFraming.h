// The home screen's framing of a widget: the family's size on the device, and from iOS 17 the
// standard 16-point content margins and the system background around content that uses a
// container background. Before iOS 17 (or when the version is unknown) there are no margins and
// the widget's own background paints.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "drawing/WidgetScene.h"
#include "platform/os/SystemVersion.h"
#include "platform/swiftui/TextMeasurer.h"

namespace host {

struct SceneRequest {
  swiftui::View view;
  swiftui::WidgetFamily family = swiftui::WidgetFamily::systemSmall;
  swiftui::ColorScheme appearance = swiftui::ColorScheme::light;
  std::optional<os::SystemVersion> systemVersion;
  std::string device;  // empty: the default device
  double pixelScale = 1;
  std::function<std::string(const std::string&)> localizedKeyResolver;
  // The language the view's texts are in (BCP 47, e.g. "zh-Hans"); not given: none.
  std::optional<std::string> language{};
  // The language of each text that came from a string table (swiftui::LayoutContext).
  std::function<std::optional<std::string>(const std::string&, bool)> textLanguage{};
};

inline constexpr double contentMargin = 16;

// Lays the request's view out in its host frame; an error for an unknown device or a family the
// device does not show.
std::variant<drawing::WidgetScene, drawing::RenderError> composeScene(
    const SceneRequest& request, const swiftui::TextMeasurer& measurer);

}  // namespace host
