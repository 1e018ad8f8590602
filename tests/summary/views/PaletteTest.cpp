// Palette colours resolve to their dark triple only in dark appearance, and to the light triple
// for light, unspecified and any other style, always opaque.
#include "shared/Palette.h"

#include <gtest/gtest.h>

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

// The triples are the design's own; only dark selects the dark one, and the one shared value
// follows a change of appearance without being rebuilt.
TEST(Palette, EachColourResolvesToItsTripleForTheAppearance) {
  for (const Expected& e : palette()) {
    EXPECT_TRUE(e.color().uiColor().isDynamic()) << e.name;
    EXPECT_EQ(&e.color(), &e.color()) << e.name;
    EXPECT_EQ(resolve(e.color(), UIUserInterfaceStyle::dark), e.dark) << e.name;
    EXPECT_EQ(resolve(e.color(), UIUserInterfaceStyle::light), e.light) << e.name;
    EXPECT_EQ(resolve(e.color(), UIUserInterfaceStyle::unspecified), e.light) << e.name;
    EXPECT_EQ(resolve(e.color(), static_cast<UIUserInterfaceStyle>(3)), e.light) << e.name;
    EXPECT_EQ(e.color().resolved(swiftui::ColorScheme::dark), e.dark) << e.name;
  }
}

}  // namespace
}  // namespace tamsa
