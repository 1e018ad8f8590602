#include "host/system/ControlScene.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "drawing/LayoutReport.h"
#include "drawing/RenderTesting.h"
#include "drawing/WidgetRenderer.h"

namespace host {

using namespace drawing;
namespace {

using drawing::testing::measurer;

WidgetScene control(std::string title, swiftui::ColorScheme appearance) {
  return composeControlScene({std::move(title), "plus", appearance, "de", 2}, measurer());
}

// The report tells what the picture shows: drawing the reported text whole gives the same pixels.
TEST(ControlSceneTest, ACutTitleIsReportedAsItIsDrawn) {
  const std::string title = "Neue Transaktion mit Kategorie und Notiz hinzufügen";
  WidgetScene cut = control(title, swiftui::ColorScheme::light);
  nlohmann::json text = layoutReport(cut, 2)["root"]["children"][0]["children"][1];
  EXPECT_EQ(text["truncated"], true);
  std::string drawn = text["drawn"];
  WidgetScene whole = control(drawn, swiftui::ColorScheme::light);
  EXPECT_FALSE(whole.layout.root.find("Text")->text->truncated);
  EXPECT_EQ(renderImage(cut, 2, measurer()).pixels, renderImage(whole, 2, measurer()).pixels);
}

bool shows(RenderedImage::Pixel p, const uikit::RGBA& c) {
  auto near = [](int v, double wanted) { return std::abs(v - wanted * 255) <= 2; };
  return p.alpha == 255 && near(p.red, c.red) && near(p.green, c.green) && near(p.blue, c.blue);
}

TEST(ControlSceneTest, EachAppearanceHasAnOpaquePlatterUnderTheRoundButton) {
  for (auto appearance : {swiftui::ColorScheme::light, swiftui::ColorScheme::dark}) {
    WidgetScene s = control("Add", appearance);
    RenderedImage image = renderImage(s, 2, measurer());
    EXPECT_TRUE(shows(image.at(4, 116), s.background));  // left edge, half-way down
    EXPECT_EQ(image.at(0, 0).alpha, 0);                  // outside the rounded corner
    const swiftui::LayoutNode& button = *s.layout.root.find("Background");
    EXPECT_EQ(button.frame, (swiftui::Rect{28, 8, 64, 64}));
    EXPECT_TRUE(shows(image.at(2 * 28 + 6, 2 * 40), *button.color));    // left of the symbol
    EXPECT_TRUE(shows(image.at(2 * 28 + 2, 2 * 8 + 2), s.background));  // outside the circle
  }
}

}  // namespace
}  // namespace host
