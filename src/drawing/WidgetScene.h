// WidgetScene: a widget laid out in its host frame, ready to draw: the laid-out tree, the system
// background the host paints under it and the frame's corners. The host's framing rules
// (host/system/WidgetFraming.h) make scenes; the painter draws them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "drawing/RenderedImage.h"
#include "platform/os/SystemVersion.h"
#include "platform/swiftui/Layout.h"
#include "platform/swiftui/View.h"

namespace drawing {

// The accented rendering mode of tinted and clear home screens: the host paints its own backdrop
// instead of the system background, and every view keeps only its shape (alpha), drawn in its
// group's tone; an image marked with an accented rendering mode is drawn as that mode says.
struct AccentedRendering {
  uikit::RGBA standardTone;  // the default group
  uikit::RGBA accentTone;    // views marked accentable
  // Painted first, covering the frame, under the scene's background (then a wash over it): the
  // wallpaper seen through glass. Nothing: the background alone.
  std::shared_ptr<const RenderedImage> wallpaper{};
  // The plain colour the backdrop comes to where it is even: the ground texts are read against.
  uikit::RGBA backdrop{};
  bool operator==(const AccentedRendering&) const = default;
};

// The colour a view of `group` painted in `color` is shown in: `color` itself in full colour;
// in the accented mode its group's tone with the colour's opacity, or for an image as its
// accented rendering mode says (a desaturated image's luminance becomes its opacity).
uikit::RGBA shownColor(
    const std::optional<AccentedRendering>& accented, const uikit::RGBA& color,
    swiftui::AccentGroup group,
    const std::optional<swiftui::WidgetAccentedRenderingMode>& imageMode = std::nullopt);

struct WidgetScene {
  swiftui::WidgetLayout layout;
  swiftui::ColorScheme appearance = swiftui::ColorScheme::light;
  // The system background the host paints under the content, clipped to the corners.
  uikit::RGBA background;
  bool usesContainerBackground = false;
  std::optional<std::string> widgetURL;
  double cornerRadius = 22;
  // Nothing: drawn in full colour.
  std::optional<AccentedRendering> accented{};
};

}  // namespace drawing
