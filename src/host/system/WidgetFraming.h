// The home screen's framing of a widget: the family's size on the device, and from iOS 17 the
// standard 16-point content margins and the system background around content that uses a
// container background. Before iOS 17 (or when the version is unknown) there are no margins and
// the widget's own background paints.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include "base/Result.h"
#include "drawing/WidgetScene.h"
#include "host/system/Appearance.h"
#include "platform/os/SystemVersion.h"
#include "platform/swiftui/Layout.h"
#include "platform/swiftui/TextMeasurer.h"

namespace host {

struct SceneRequest {
  swiftui::View view;
  swiftui::WidgetFamily family = swiftui::WidgetFamily::systemSmall;
  Appearance appearance = Appearance::light;
  HomeScreen homeScreen{};  // the tint and wallpaper of the accented looks
  std::optional<os::SystemVersion> systemVersion;
  std::string device;  // empty: the default device
  double pixelScale = 1;
  std::function<std::string(const std::string&)> localizedKeyResolver;
  // The language the view's texts are in (BCP 47, e.g. "zh-Hans"); not given: none.
  std::optional<std::string> language{};
  // Where each text came from: its table's language and entry (swiftui::LayoutContext).
  swiftui::TextOrigins textOrigin{};
};

inline constexpr double contentMargin = 16;

// The system background the host paints under a widget's content in `appearance`, with margins
// or without.
uikit::RGBA widgetBackground(swiftui::ColorScheme appearance);

// Lays the request's view out in its host frame; a failure for an unknown device, a family the
// device does not show, or an appearance its system lacks (a usage failure).
base::Result<drawing::WidgetScene> composeScene(const SceneRequest& request,
                                                const swiftui::TextMeasurer& measurer);

}  // namespace host
