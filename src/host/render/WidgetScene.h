// WidgetScene: a widget laid out in its host frame, ready to draw. The host imitates the home
// screen: the family's size on the device, and from iOS 17 the standard 16-point content margins
// and the system background around content that uses a container background. Before iOS 17 (or
// when the version is unknown) there are no margins and the widget's own background paints.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "platform/os/SystemVersion.h"
#include "platform/swiftui/Layout.h"
#include "platform/swiftui/View.h"

namespace render {

struct WidgetScene {
  swiftui::WidgetLayout layout;
  swiftui::ColorScheme appearance = swiftui::ColorScheme::light;
  // The system background the host paints under the content, clipped to the corners.
  uikit::RGBA background;
  bool usesContainerBackground = false;
  std::optional<std::string> widgetURL;
  double cornerRadius = 22;
};

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

struct RenderError {
  std::string message;
  bool operator==(const RenderError&) const = default;
};

inline constexpr double contentMargin = 16;

// Lays the request's view out in its host frame; an error for an unknown device or a family the
// device does not show.
std::variant<WidgetScene, RenderError> composeScene(const SceneRequest& request,
                                                    const swiftui::TextMeasurer& measurer);

}  // namespace render
