// Drawing checked pixel by pixel on in-memory images, and a golden picture of a real widget.
// Regenerate the golden after an intended change of drawing with
//   TAMSA_UPDATE_GOLDENS=1 build/tests/render_test --gtest_filter='*Golden*'
#include "host/render/WidgetRenderer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/render/RenderTesting.h"
#include "support/GoldenPicture.h"

namespace render {
namespace {

using namespace swiftui;
using Pixel = RenderedImage::Pixel;

using testing::measurer;

WidgetScene scene(View view, WidgetFamily family = WidgetFamily::systemSmall,
                  std::optional<os::SystemVersion> version = os::SystemVersion{17, 0, 0},
                  std::optional<std::string> language = std::nullopt) {
  SceneRequest request{view, family, ColorScheme::dark, version, "", 1, {}, std::move(language)};
  return std::get<WidgetScene>(composeScene(request, measurer()));
}

TEST(WidgetRendererTest, FilledRectangleLandsWhereItsFrameSaysInsideTransparentCorners) {
  View red = Rectangle().fill(Color::sRGB(1, 0, 0)).frame(FixedFrame{.width = 40, .height = 20});
  View view = VStack(HorizontalAlignment::leading, 0,
                     {HStack(VerticalAlignment::center, 0, {red, Spacer()}), Spacer()});
  WidgetScene s = scene(view, WidgetFamily::systemSmall, std::nullopt);
  EXPECT_EQ(s.layout.root.find("Rectangle")->frame, (Rect{0, 0, 40, 20}));
  RenderedImage image = renderImage(s, 2, measurer());
  EXPECT_EQ(image.width, 316);
  EXPECT_EQ(image.at(30, 20), (Pixel{255, 0, 0, 255}));  // inside, clear of the corner
  EXPECT_EQ(image.at(79, 39), (Pixel{255, 0, 0, 255}));  // last pixel of the frame
  EXPECT_EQ(image.at(80, 20), (Pixel{28, 28, 30, 255}));
  EXPECT_EQ(image.at(0, 0).alpha, 0);
  EXPECT_EQ(image.at(315, 315).alpha, 0);
  EXPECT_EQ(image.at(5, 158).alpha, 255);  // mid edge is inside
}

TEST(WidgetRendererTest, EncodesEachFormatInMemory) {
  WidgetScene s = scene(Rectangle().fill(Color::sRGB(0, 1, 0)));
  auto bytes = [&](PictureFormat format, double scale) {
    auto encoded = encodePicture(s, format, scale, measurer());
    return std::holds_alternative<std::string>(encoded) ? std::get<std::string>(encoded) : "";
  };
  std::optional<RenderedImage> png = decodePng(bytes(PictureFormat::png, 3));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, 474);
  EXPECT_EQ(png->at(237, 237), (Pixel{0, 255, 0, 255}));
  EXPECT_NE(bytes(PictureFormat::svg, 3).find("<svg"), std::string::npos);
  EXPECT_EQ(bytes(PictureFormat::pdf, 3).rfind("%PDF", 0), 0u);
  EXPECT_EQ(bytes(PictureFormat::png, 4), "");
  EXPECT_EQ(pictureFormatForPath("out/w.PNG"), PictureFormat::png);
  EXPECT_EQ(pictureFormatForPath("w.svg.gif"), std::nullopt);
  EXPECT_EQ(pictureFormatForPath("x.pdf/png"), std::nullopt);
}

// Han characters take the forms of the text's language: the same characters differ in ink.
TEST(WidgetRendererTest, TheLanguagePicksTheGlyphFormsOfHanCharacters) {
  auto picture = [&](std::optional<std::string> language) {
    View text = Text("直骨").font(Font::system(60)).foregroundColor(Color::sRGB(1, 1, 1));
    return renderImage(scene(text, WidgetFamily::systemSmall, std::nullopt, language), 1,
                       measurer())
        .pixels;
  };
  EXPECT_NE(picture("zh-Hans"), picture("ja"));
  EXPECT_NE(picture("zh-Hans"), picture("zh-Hant"));
  EXPECT_EQ(picture("zh-Hans"), picture("zh_CN"));
}

// The medium summary in Chinese before iOS 17: CJK glyphs in their Simplified forms and the old
// inset background. The English goldens are the command line's.
TEST(WidgetRendererGolden, ChineseMediumBeforeIOS17MatchesTheStoredPicture) {
  device::Device d = testing::shippedDevice("zh-Hans", std::nullopt);
  tamsa::TamsaSummaryEntry entry = tamsa::makeSampleSummaryEntry(*d.clock);
  entry.walletLabel = "全部钱包";
  entry.periodLabel = "本月";
  entry.currencySymbol = "¥";
  auto view = tamsa::summaryWidgetContent(d, entry);
  SceneRequest request{view,     WidgetFamily::systemMedium, ColorScheme::light, {}, "", 2, {},
                       "zh-Hans"};
  WidgetScene s = std::get<WidgetScene>(composeScene(request, measurer()));
  std::string png = std::get<std::string>(encodePicture(s, PictureFormat::png, 2, measurer()));
  auto actualPath = std::filesystem::temp_directory_path() / "tamsa-medium_cjk_ios16.png";
  std::ofstream(actualPath, std::ios::binary) << png;
  EXPECT_TRUE(testing_support::matchesGolden(
      actualPath.string(), std::string(TAMSA_TEST_DATA) + "/render/medium_cjk_ios16.png"));
}

}  // namespace
}  // namespace render
