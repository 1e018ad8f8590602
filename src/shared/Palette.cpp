#include "shared/Palette.h"

namespace tamsa {
namespace {

// The resolver of an adaptive palette colour: the six components and nothing else, so it may be
// called from any thread and never caches a resolved colour.
struct DarkOrLight {
  double darkRed, darkGreen, darkBlue;
  double lightRed, lightGreen, lightBlue;

  uikit::UIColor operator()(const uikit::UITraitCollection& traits) const {
    if (traits.userInterfaceStyle == uikit::UIUserInterfaceStyle::dark)
      return uikit::UIColor::withRed(darkRed, darkGreen, darkBlue, 1.0);
    return uikit::UIColor::withRed(lightRed, lightGreen, lightBlue, 1.0);
  }
};

// Dark triple first, then the triple for every other appearance.
swiftui::Color dynamicColor(double darkRed, double darkGreen, double darkBlue, double lightRed,
                            double lightGreen, double lightBlue) {
  return swiftui::Color(uikit::UIColor::withDynamicProvider(
      DarkOrLight{darkRed, darkGreen, darkBlue, lightRed, lightGreen, lightBlue}));
}

}  // namespace

const swiftui::Color& primaryTextColor() {
  static const swiftui::Color color = dynamicColor(0.95, 0.95, 0.96, 0.20, 0.20, 0.20);
  return color;
}

const swiftui::Color& secondaryTextColor() {
  static const swiftui::Color color = dynamicColor(0.68, 0.68, 0.70, 0.53, 0.53, 0.53);
  return color;
}

const swiftui::Color& tertiaryTextColor() {
  static const swiftui::Color color = dynamicColor(0.64, 0.64, 0.66, 0.60, 0.60, 0.60);
  return color;
}

const swiftui::Color& footerTextColor() {
  static const swiftui::Color color = dynamicColor(0.55, 0.55, 0.57, 0.73, 0.73, 0.73);
  return color;
}

const swiftui::Color& dividerColor() {
  static const swiftui::Color color = dynamicColor(0.28, 0.28, 0.30, 0.88, 0.88, 0.88);
  return color;
}

const swiftui::Color& incomeColor() {
  static const swiftui::Color color = dynamicColor(0.42, 0.85, 0.44, 0.30, 0.69, 0.31);
  return color;
}

const swiftui::Color& expenseColor() {
  static const swiftui::Color color = dynamicColor(1.00, 0.45, 0.39, 0.96, 0.26, 0.21);
  return color;
}

}  // namespace tamsa
