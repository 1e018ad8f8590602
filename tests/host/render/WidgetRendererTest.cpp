// Drawing checked pixel by pixel on in-memory images, and golden pictures of widget-shaped trees.
// Regenerate the goldens after an intended change of drawing with
//   TAMSA_UPDATE_GOLDENS=1 build/tests/render_test --gtest_filter='*Golden*'
#include "host/render/WidgetRenderer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "host/render/RenderRequest.h"
#include "host/render/SampleWidgets.h"
#include "support/GoldenPicture.h"

namespace render {
namespace {

using namespace swiftui;
using Pixel = RenderedImage::Pixel;

const PangoTextMeasurer& measurer() {
  static const PangoTextMeasurer shared;
  return shared;
}

WidgetScene scene(View view, WidgetFamily family = WidgetFamily::systemSmall,
                  ColorScheme appearance = ColorScheme::light,
                  std::optional<os::SystemVersion> version = os::SystemVersion{17, 0, 0},
                  double pixelScale = 1) {
  auto composed = composeScene({view, family, appearance, version, "", pixelScale}, measurer());
  return std::get<WidgetScene>(composed);
}

TEST(WidgetRendererTest, FilledRectangleLandsWhereItsFrameSays) {
  View red = Rectangle().fill(Color::sRGB(1, 0, 0)).frame(FixedFrame{.width = 40, .height = 20});
  View view = VStack(HorizontalAlignment::leading, 0,
                     {HStack(VerticalAlignment::center, 0, {red, Spacer()}), Spacer()});
  WidgetScene s = scene(view, WidgetFamily::systemSmall, ColorScheme::light, std::nullopt);
  const LayoutNode* rect = s.layout.root.find("Rectangle");
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->frame, (Rect{0, 0, 40, 20}));
  RenderedImage image = renderImage(s, 2, measurer());
  EXPECT_EQ(image.width, 316);
  EXPECT_EQ(image.at(30, 20), (Pixel{255, 0, 0, 255}));  // inside, clear of the corner
  EXPECT_EQ(image.at(79, 39), (Pixel{255, 0, 0, 255}));  // last pixel of the frame
  EXPECT_EQ(image.at(80, 20), (Pixel{255, 255, 255, 255}));
  EXPECT_EQ(image.at(60, 40), (Pixel{255, 255, 255, 255}));
}

TEST(WidgetRendererTest, OutsideTheRoundedCornersIsTransparent) {
  RenderedImage image = renderImage(scene(Spacer()), 1, measurer());
  EXPECT_EQ(image.at(0, 0).alpha, 0);
  EXPECT_EQ(image.at(157, 157).alpha, 0);
  EXPECT_EQ(image.at(3, 79), (Pixel{255, 255, 255, 255}));  // mid edge is inside
  EXPECT_EQ(image.at(10, 10).alpha, 255);
}

TEST(WidgetRendererTest, ContainerBackgroundGetsMarginsFromIOS17Only) {
  View fill = Rectangle().fill(Color::sRGB(0, 0, 1));
  View content = fill.containerBackground(BackgroundStyle{}, ContainerBackgroundPlacement::widget);
  WidgetScene modern = scene(content, WidgetFamily::systemMedium, ColorScheme::dark);
  EXPECT_EQ(modern.layout.root.frame, (Rect{16, 16, 306, 126}));
  RenderedImage image = renderImage(modern, 1, measurer());
  EXPECT_EQ(image.at(8, 79), (Pixel{28, 28, 30, 255}));  // dark system background in the margin
  EXPECT_EQ(image.at(20, 79), (Pixel{0, 0, 255, 255}));

  WidgetScene old =
      scene(content, WidgetFamily::systemMedium, ColorScheme::dark, os::SystemVersion{16, 4, 0});
  EXPECT_EQ(old.layout.root.frame, (Rect{0, 0, 338, 158}));
  WidgetScene unknown = scene(content, WidgetFamily::systemMedium, ColorScheme::dark, std::nullopt);
  EXPECT_EQ(unknown.layout.contentMargins, (EdgeInsets{}));
  // Without a container background there are no margins on iOS 17 either.
  EXPECT_EQ(scene(fill).layout.root.frame, (Rect{0, 0, 158, 158}));
}

TEST(WidgetRendererTest, OldSystemsPaintTheWidgetsOwnBackgroundUnderThePadding) {
  View view = samples::hosted(samples::signedOut("Sign in"), false);
  WidgetScene s = scene(view, WidgetFamily::systemSmall, ColorScheme::dark, std::nullopt);
  EXPECT_EQ(s.layout.root.type, "Background");
  EXPECT_EQ(s.layout.root.frame, (Rect{0, 0, 158, 158}));
  EXPECT_EQ(s.layout.root.children[0].type, "Padding");
  EXPECT_EQ(s.widgetURL, "tamsaledger://widget");
  EXPECT_EQ(renderImage(s, 1, measurer()).at(5, 79), (Pixel{28, 28, 30, 255}));
}

TEST(WidgetRendererTest, TextIsDrawnInsideItsFrameInItsColour) {
  View view = Text("WWWW")
                  .font(Font::system(30, Font::Weight::bold))
                  .foregroundColor(Color::sRGB(0, 0.5, 0))
                  .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity});
  WidgetScene s = scene(view);
  const LayoutNode* text = s.layout.root.find("Text");
  RenderedImage image = renderImage(s, 1, measurer());
  int inside = 0, outside = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      Pixel p = image.at(x, y);
      if (p.alpha < 255 || p == Pixel{255, 255, 255, 255}) continue;  // corners, background
      bool within = x >= text->frame.x - 1 && x <= text->frame.maxX() + 1 &&
                    y >= text->frame.y - 1 && y <= text->frame.maxY() + 1;
      (within ? inside : outside)++;
      if (p.green > 120 && p.red < 10) EXPECT_TRUE(within);
    }
  EXPECT_GT(inside, 100);
  EXPECT_EQ(outside, 0);
}

TEST(WidgetRendererTest, WritesPictureFormatsByExtension) {
  auto dir = std::filesystem::temp_directory_path() / "tamsa-render-test";
  std::filesystem::create_directories(dir);
  WidgetScene s = scene(samples::hosted(samples::quickAdd(), true));
  for (const char* name : {"w.png", "w.svg", "w.pdf"}) {
    auto path = (dir / name).string();
    EXPECT_EQ(writePicture(s, path, 3, measurer()), std::nullopt) << name;
    EXPECT_GT(std::filesystem::file_size(path), 500u) << name;
  }
  EXPECT_NE(writePicture(s, (dir / "w.gif").string(), 3, measurer()), std::nullopt);
  EXPECT_NE(writePicture(s, (dir / "w.png").string(), 4, measurer()), std::nullopt);
  std::optional<RenderedImage> png = readPng((dir / "w.png").string());
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, 474);
}

// A golden picture of the medium layout in Chinese before iOS 17: CJK glyphs from the fallback font
// and the old inset background. The real widgets' goldens (Latin, both backgrounds, both
// appearances) are RenderCommandsTest's.
TEST(WidgetRendererGolden, CjkMediumBeforeIOS17MatchesTheStoredPicture) {
  samples::SummaryTexts cjk{.wallet = "全部钱包",
                            .period = "本月",
                            .balanceCaption = "余额",
                            .incomeCaption = "收入",
                            .expenseCaption = "支出",
                            .updatedAt = "更新于",
                            .balance = "¥12,350.80",
                            .income = "¥24,200",
                            .expense = "¥11,849.20",
                            .time = "21:05"};
  WidgetScene s = scene(samples::hosted(samples::mediumSummary(cjk), false),
                        WidgetFamily::systemMedium, ColorScheme::light, std::nullopt, 2);
  auto out = std::filesystem::temp_directory_path() / "tamsa-render-test";
  std::filesystem::create_directories(out);
  std::string actualPath = (out / "medium_cjk_ios16.png").string();
  ASSERT_EQ(writePicture(s, actualPath, 2, measurer()), std::nullopt);
  EXPECT_TRUE(testing_support::matchesGolden(
      actualPath, std::string(TAMSA_TEST_DATA) + "/render/medium_cjk_ios16.png"));
}

}  // namespace
}  // namespace render
