// Palette colours resolve to their dark triple only in dark appearance, and to the light triple
// for light, unspecified and any other style, always opaque.
#include "summary/views/Palette.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace tamsa {
namespace {

using uikit::RGBA;
using uikit::UIUserInterfaceStyle;

RGBA resolve(const swiftui::Color& color, UIUserInterfaceStyle style) {
  return color.uiColor().resolved(uikit::UITraitCollection{style});
}

struct Expected {
  const char* name;
  const swiftui::Color& (*color)();
  RGBA dark;
  RGBA light;
};

const std::vector<Expected>& palette() {
  static const std::vector<Expected> all = {
      {"primaryText", primaryTextColor, {0.95, 0.95, 0.96, 1}, {0.20, 0.20, 0.20, 1}},
      {"secondaryText", secondaryTextColor, {0.68, 0.68, 0.70, 1}, {0.53, 0.53, 0.53, 1}},
      {"tertiaryText", tertiaryTextColor, {0.64, 0.64, 0.66, 1}, {0.60, 0.60, 0.60, 1}},
      {"footerText", footerTextColor, {0.55, 0.55, 0.57, 1}, {0.73, 0.73, 0.73, 1}},
      {"divider", dividerColor, {0.28, 0.28, 0.30, 1}, {0.88, 0.88, 0.88, 1}},
      {"income", incomeColor, {0.42, 0.85, 0.44, 1}, {0.30, 0.69, 0.31, 1}},
      {"expense", expenseColor, {1.00, 0.45, 0.39, 1}, {0.96, 0.26, 0.21, 1}},
  };
  return all;
}

TEST(Palette, EachColourResolvesToItsExactTriples) {
  for (const Expected& e : palette()) {
    EXPECT_TRUE(e.color().uiColor().isDynamic()) << e.name;
    EXPECT_EQ(resolve(e.color(), UIUserInterfaceStyle::dark), e.dark) << e.name;
    EXPECT_EQ(resolve(e.color(), UIUserInterfaceStyle::light), e.light) << e.name;
  }
  EXPECT_EQ(resolve(expenseColor(), UIUserInterfaceStyle::dark).red, 1.0);
}

TEST(Palette, OnlyDarkSelectsTheDarkTriple) {
  for (const Expected& e : palette()) {
    EXPECT_EQ(resolve(e.color(), UIUserInterfaceStyle::unspecified), e.light) << e.name;
    EXPECT_EQ(resolve(e.color(), static_cast<UIUserInterfaceStyle>(3)), e.light) << e.name;
  }
}

TEST(Palette, OneValueFollowsAppearanceChangesWithoutRebuild) {
  const swiftui::Color& income = incomeColor();
  EXPECT_EQ(&income, &incomeColor());
  EXPECT_EQ(resolve(income, UIUserInterfaceStyle::dark).green, 0.85);
  EXPECT_EQ(resolve(income, UIUserInterfaceStyle::light).green, 0.69);
  EXPECT_EQ(resolve(income, UIUserInterfaceStyle::dark).green, 0.85);
  // The view framework's appearances resolve the same way.
  EXPECT_EQ(income.resolved(swiftui::ColorScheme::dark), (RGBA{0.42, 0.85, 0.44, 1}));
  EXPECT_EQ(income.resolved(swiftui::ColorScheme::light), (RGBA{0.30, 0.69, 0.31, 1}));
}

TEST(Palette, ComponentsInRangeAndOpaque) {
  for (const Expected& e : palette()) {
    for (auto style : {UIUserInterfaceStyle::unspecified, UIUserInterfaceStyle::light,
                       UIUserInterfaceStyle::dark}) {
      const RGBA c = resolve(e.color(), style);
      for (double component : {c.red, c.green, c.blue}) {
        EXPECT_GE(component, 0.0) << e.name;
        EXPECT_LE(component, 1.0) << e.name;
      }
      EXPECT_EQ(c.alpha, 1.0) << e.name;
    }
  }
}

}  // namespace
}  // namespace tamsa
