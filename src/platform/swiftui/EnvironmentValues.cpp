#include "platform/swiftui/EnvironmentValues.h"

#include "platform/foundation/Locale.h"

namespace swiftui {

LayoutDirection layoutDirectionFor(const std::optional<std::string>& language) {
  return language && foundation::isRightToLeftLanguage(*language) ? LayoutDirection::rightToLeft
                                                                  : LayoutDirection::leftToRight;
}

void EnvironmentPatch::applyTo(EnvironmentValues& env) const {
  if (font) env.font = font;
  if (foregroundColor) env.foregroundColor = foregroundColor;
  if (lineLimit) env.lineLimit = *lineLimit;
  if (minimumScaleFactor) env.minimumScaleFactor = *minimumScaleFactor;
  if (multilineTextAlignment) env.multilineTextAlignment = *multilineTextAlignment;
  if (accentGroup) env.accentGroup = *accentGroup;
  if (accentedRenderingMode) env.accentedRenderingMode = accentedRenderingMode;
}

EnvironmentPatch EnvironmentPatch::over(const EnvironmentPatch& outer) const {
  EnvironmentPatch merged = *this;
  if (!merged.font) merged.font = outer.font;
  if (!merged.foregroundColor) merged.foregroundColor = outer.foregroundColor;
  if (!merged.lineLimit) merged.lineLimit = outer.lineLimit;
  if (!merged.minimumScaleFactor) merged.minimumScaleFactor = outer.minimumScaleFactor;
  if (!merged.multilineTextAlignment) merged.multilineTextAlignment = outer.multilineTextAlignment;
  if (!merged.accentGroup) merged.accentGroup = outer.accentGroup;
  if (!merged.accentedRenderingMode) merged.accentedRenderingMode = outer.accentedRenderingMode;
  return merged;
}

}  // namespace swiftui
