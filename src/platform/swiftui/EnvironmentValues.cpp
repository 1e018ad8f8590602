#include "platform/swiftui/EnvironmentValues.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace swiftui {

LayoutDirection layoutDirectionFor(const std::optional<std::string>& language) {
  if (!language) return LayoutDirection::leftToRight;
  std::string primary = language->substr(0, language->find_first_of("-_"));
  std::transform(primary.begin(), primary.end(), primary.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  // "iw" is Hebrew's old code, still used by some systems.
  constexpr std::array<const char*, 5> rightToLeft{"ar", "he", "iw", "fa", "ur"};
  return std::find(rightToLeft.begin(), rightToLeft.end(), primary) != rightToLeft.end()
             ? LayoutDirection::rightToLeft
             : LayoutDirection::leftToRight;
}

void EnvironmentPatch::applyTo(EnvironmentValues& env) const {
  if (font) env.font = font;
  if (foregroundColor) env.foregroundColor = foregroundColor;
  if (lineLimit) env.lineLimit = *lineLimit;
  if (minimumScaleFactor) env.minimumScaleFactor = *minimumScaleFactor;
  if (multilineTextAlignment) env.multilineTextAlignment = *multilineTextAlignment;
}

EnvironmentPatch EnvironmentPatch::over(const EnvironmentPatch& outer) const {
  EnvironmentPatch merged = *this;
  if (!merged.font) merged.font = outer.font;
  if (!merged.foregroundColor) merged.foregroundColor = outer.foregroundColor;
  if (!merged.lineLimit) merged.lineLimit = outer.lineLimit;
  if (!merged.minimumScaleFactor) merged.minimumScaleFactor = outer.minimumScaleFactor;
  if (!merged.multilineTextAlignment) merged.multilineTextAlignment = outer.multilineTextAlignment;
  return merged;
}

}  // namespace swiftui
