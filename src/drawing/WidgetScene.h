// WidgetScene: a widget laid out in its host frame, ready to draw: the laid-out tree, the system
// background the host paints under it and the frame's corners. The host's framing rules
// (host/system/WidgetFraming.h) make scenes; the painter draws them.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/os/SystemVersion.h"
#include "platform/swiftui/Layout.h"
#include "platform/swiftui/View.h"

namespace drawing {

struct WidgetScene {
  swiftui::WidgetLayout layout;
  swiftui::ColorScheme appearance = swiftui::ColorScheme::light;
  // The system background the host paints under the content, clipped to the corners.
  uikit::RGBA background;
  bool usesContainerBackground = false;
  std::optional<std::string> widgetURL;
  double cornerRadius = 22;
};

}  // namespace drawing
