// Color: a view colour. It wraps a UIKit colour, fixed or adaptive, and is resolved against the
// appearance only when a tree is laid out for drawing, so one tree draws in light and in dark.
// Immutable; safe to share across threads.
#pragma once

#include "platform/uikit/UIColor.h"

namespace swiftui {

// The appearance a widget is drawn in (ColorScheme).
enum class ColorScheme { light, dark };

class Color {
 public:
  // Color(_:) from a UIKit colour.
  explicit Color(uikit::UIColor color) : color_(std::move(color)) {}

  // Color(.sRGB, red:green:blue:opacity:), components 0...1.
  static Color sRGB(double red, double green, double blue, double opacity = 1) {
    return Color(uikit::UIColor::withRed(red, green, blue, opacity));
  }
  // Color.primary: the label colour, black in light and white in dark.
  static Color primary();
  static Color black() { return sRGB(0, 0, 0); }
  static Color white() { return sRGB(1, 1, 1); }
  static Color clear() { return sRGB(0, 0, 0, 0); }

  uikit::RGBA resolved(ColorScheme scheme) const;
  const uikit::UIColor& uiColor() const { return color_; }

 private:
  uikit::UIColor color_;
};

}  // namespace swiftui
