// EnvironmentValues: what a view inherits from the views around it. The host sets the widget
// family, the appearance, the language and the layout direction at the root; stacks and texts set
// font, colour and text limits for what they contain. Copied freely; safe to share across threads.
#pragma once

#include <optional>
#include <string>

#include "platform/swiftui/Color.h"
#include "platform/swiftui/Font.h"
#include "platform/swiftui/Geometry.h"
#include "platform/swiftui/WidgetFamily.h"

namespace swiftui {

// Which way horizontal layout runs: from the left, or mirrored from the right.
enum class LayoutDirection { leftToRight, rightToLeft };

// The direction a language is written in: right to left for a language whose script is (Arabic,
// Hebrew, Persian, Urdu, Yiddish, with their old codes, and the pseudo-language "ar-XB");
// not given or any other language: left to right.
LayoutDirection layoutDirectionFor(const std::optional<std::string>& language);

// How the host draws the widget (WidgetRenderingMode): in the widget's own colours; accented, as
// tinted and clear home screens do (the content keeps only its shape, drawn in its group's tone
// over the host's own backdrop); or vibrant, as the lock screen does.
enum class WidgetRenderingMode { fullColor, accented, vibrant };

// The accented mode's two groups: every view is in the default one unless marked accentable
// (widgetAccentable), then it takes the person's tint.
enum class AccentGroup { standard, accent };

// How an image is drawn in the accented mode (WidgetAccentedRenderingMode): as part of the accent
// group; its luminance as its shape, in the accent's tone or in the default group's; or left in
// full colour. Not given: like any view, its shape in its group's tone.
enum class WidgetAccentedRenderingMode { accented, accentedDesaturated, desaturated, fullColor };

struct EnvironmentValues {
  WidgetFamily widgetFamily = WidgetFamily::systemSmall;
  ColorScheme colorScheme = ColorScheme::light;
  // Not given: the body font and the primary colour.
  std::optional<Font> font;
  std::optional<Color> foregroundColor;
  // Not given: as many lines as the text needs.
  std::optional<int> lineLimit;
  double minimumScaleFactor = 1;
  TextAlignment multilineTextAlignment = TextAlignment::leading;
  // The language texts are written in (a BCP 47 tag, locale in the framework); not given: none.
  std::optional<std::string> language;
  // Leading means left in left-to-right layout and right in right-to-left layout.
  LayoutDirection layoutDirection = LayoutDirection::leftToRight;
  // Set by the host at the root (@Environment(\.widgetRenderingMode)).
  WidgetRenderingMode widgetRenderingMode = WidgetRenderingMode::fullColor;
  AccentGroup accentGroup = AccentGroup::standard;
  std::optional<WidgetAccentedRenderingMode> accentedRenderingMode;
};

// A change of some environment values, made by a modifier. Set fields replace the inherited ones.
struct EnvironmentPatch {
  std::optional<Font> font{};
  std::optional<Color> foregroundColor{};
  std::optional<std::optional<int>> lineLimit{};
  std::optional<double> minimumScaleFactor{};
  std::optional<TextAlignment> multilineTextAlignment{};
  std::optional<AccentGroup> accentGroup{};
  std::optional<WidgetAccentedRenderingMode> accentedRenderingMode{};

  void applyTo(EnvironmentValues& env) const;
  // This patch with the fields it leaves unset taken from `outer` (this one is nearer the view).
  EnvironmentPatch over(const EnvironmentPatch& outer) const;
};

}  // namespace swiftui
