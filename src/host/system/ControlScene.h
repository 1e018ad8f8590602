// ControlScene: how the system's control gallery shows a button control, as a scene the widget
// renderer draws and the layout report lists: a round button holding the control's symbol, its
// title under it (12-point medium, at most two lines, centred), on a rounded platter of the
// appearance so the picture shows on light and dark pages alike. Built as a view tree and laid
// out by the layout engine, so the report's drawn title is what the picture shows.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "host/system/WidgetFraming.h"
#include "platform/swiftui/TextMeasurer.h"

namespace host {

struct ControlSceneRequest {
  std::string title;
  std::string systemImage;  // an SF Symbol name, e.g. "plus"
  swiftui::ColorScheme appearance = swiftui::ColorScheme::light;
  // The system's language (BCP 47), which the control is laid out in; not given: none.
  std::optional<std::string> language{};
  double pixelScale = 1;  // text sizes are rounded up to this grid
  // Where the title came from: its table's language and entry (swiftui::LayoutContext); no
  // language, or not set: `language`.
  swiftui::TextOrigins textOrigin{};
};

// The control's scene: 120 by 116 points, the button at the top, the title below it.
drawing::WidgetScene composeControlScene(const ControlSceneRequest& request,
                                         const swiftui::TextMeasurer& measurer);

}  // namespace host
