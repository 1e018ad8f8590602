#include "drawing/WidgetScene.h"

#include <algorithm>

namespace drawing {

uikit::RGBA shownColor(const std::optional<AccentedRendering>& accented, const uikit::RGBA& color,
                       swiftui::AccentGroup group,
                       const std::optional<swiftui::WidgetAccentedRenderingMode>& imageMode) {
  if (!accented) return color;
  using Mode = swiftui::WidgetAccentedRenderingMode;
  const double opacity = std::clamp(color.alpha, 0.0, 1.0);
  auto in = [&](uikit::RGBA tone, double shape) {
    tone.alpha *= shape;
    return tone;
  };
  // Luma of the encoded components: the platform's desaturation is not documented.
  const double luma =
      std::clamp(0.2126 * color.red + 0.7152 * color.green + 0.0722 * color.blue, 0.0, 1.0);
  if (imageMode) {
    switch (*imageMode) {
      case Mode::fullColor:
        return color;
      case Mode::accented:
        return in(accented->accentTone, opacity);
      case Mode::desaturated:
        return in(accented->standardTone, opacity * luma);
      case Mode::accentedDesaturated:
        return in(accented->accentTone, opacity * luma);
    }
  }
  return in(group == swiftui::AccentGroup::accent ? accented->accentTone : accented->standardTone,
            opacity);
}

}  // namespace drawing
