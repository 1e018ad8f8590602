// Drawing checked pixel by pixel on in-memory images, and a golden picture of a real widget.
// Regenerate the golden after an intended change of drawing with
//   TAMSA_UPDATE_GOLDENS=1 build/tests/render_test --gtest_filter='*Golden*'
#include "drawing/PngCodec.h"
#include "drawing/WidgetRenderer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "drawing/RenderTesting.h"
#include "host/system/WidgetFraming.h"
#include "support/GoldenPicture.h"

namespace drawing {
namespace {

using namespace swiftui;
using Pixel = RenderedImage::Pixel;

using testing::measurer;

WidgetScene scene(View view, std::optional<std::string> language = std::nullopt) {
  host::SceneRequest request{
      view, WidgetFamily::systemSmall, host::Appearance::dark, {}, {}, "", 1, {}, language};
  return *host::composeScene(request, measurer());
}

TEST(WidgetRendererTest, EncodesEachFormatInMemoryAndFillsWhereTheFrameSays) {
  View red = Rectangle().fill(Color::sRGB(1, 0, 0)).frame(FixedFrame{.width = 40, .height = 20});
  WidgetScene s = scene(VStack(HorizontalAlignment::leading, 0,
                               {HStack(VerticalAlignment::center, 0, {red, Spacer()}), Spacer()}));
  auto bytes = [&](PictureFormat format, double scale) {
    auto encoded = drawPicture(s, format, scale, measurer());
    return encoded ? encoded->bytes : "";
  };
  auto png = decodePng(bytes(PictureFormat::png, 2));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, 316);
  EXPECT_EQ(png->at(30, 20), (Pixel{255, 0, 0, 255}));  // inside, clear of the corner
  EXPECT_EQ(png->at(79, 39), (Pixel{255, 0, 0, 255}));  // last pixel of the frame
  EXPECT_EQ(png->at(0, 0).alpha, 0);                    // outside the rounded corner
  EXPECT_NE(bytes(PictureFormat::svg, 3).find("<svg"), std::string::npos);
  EXPECT_EQ(bytes(PictureFormat::pdf, 3).rfind("%PDF", 0), 0u);
  EXPECT_EQ(bytes(PictureFormat::png, 4), "");
  EXPECT_EQ(pictureFormatForPath("out/w.PNG"), PictureFormat::png);
  EXPECT_EQ(pictureFormatForPath("w.svg.gif"), std::nullopt);
}

// The corners are continuous: each spans about 1.53 radii of its edges, and never more than half
// the shorter side, however large the radius asked for.
TEST(WidgetRendererTest, TheCornersSpanOneAndAHalfRadiiAndAtMostHalfTheWidget) {
  WidgetScene s = scene(Spacer());
  ASSERT_EQ(s.layout.size.width, 158);
  auto alpha = [&](double radius, int x, int y) {
    s.cornerRadius = radius;
    return renderImage(s, 1, measurer()).at(x, y).alpha;
  };
  // A 22-point radius meets the diagonal 6.4 points in from the corner.
  EXPECT_EQ(alpha(22, 5, 5), 0);
  EXPECT_EQ(alpha(22, 7, 7), 255);
  EXPECT_EQ(alpha(22, 152, 152), 0);
  // A radius past half the widget makes a rounded square meeting the diagonal 15 points in.
  EXPECT_EQ(alpha(1000, 13, 13), 0);
  EXPECT_EQ(alpha(1000, 17, 17), 255);
  EXPECT_EQ(alpha(1000, 79, 1), 255);
}

// Han characters take the forms of the text's language: the same characters differ in ink.
TEST(WidgetRendererTest, TheLanguagePicksTheGlyphFormsOfHanCharacters) {
  auto picture = [&](std::optional<std::string> language) {
    View text = Text("直骨").font(Font::system(60)).foregroundColor(Color::sRGB(1, 1, 1));
    return renderImage(scene(text, language), 1, measurer()).pixels;
  };
  EXPECT_NE(picture("zh-Hans"), picture("ja"));
  EXPECT_NE(picture("zh-Hans"), picture("zh-Hant"));
  EXPECT_EQ(picture("zh-Hans"), picture("zh_CN"));
}

// The scene's picture at scale 2 matches tests/data/render/<name>.png.
::testing::AssertionResult matchesStored(const WidgetScene& s, const std::string& name) {
  auto actualPath = std::filesystem::temp_directory_path() / ("tamsa-" + name + ".png");
  std::ofstream(actualPath, std::ios::binary)
      << drawPicture(s, PictureFormat::png, 2, measurer())->bytes;
  return testing_support::matchesGolden(actualPath.string(),
                                        std::string(TAMSA_TEST_DATA) + "/render/" + name + ".png");
}

// The medium summary in Chinese before iOS 17: CJK glyphs in their Simplified forms and the old
// inset background. The English goldens are the command line's.
TEST(WidgetRendererGolden, ChineseMediumBeforeIOS17MatchesTheStoredPicture) {
  device::Device d = testing::shippedDevice("zh-Hans", std::nullopt);
  tamsa::TamsaSummaryEntry entry = tamsa::makeSampleSummaryEntry(*d.clock);
  std::tie(entry.walletLabel, entry.periodLabel, entry.currencySymbol) =
      std::tuple{"全部钱包", "本月", "¥"};
  host::SceneRequest request{tamsa::summaryWidgetContent(d, entry),
                             WidgetFamily::systemMedium,
                             host::Appearance::light,
                             {},
                             {},
                             "",
                             2,
                             {},
                             "zh-Hans"};
  EXPECT_TRUE(matchesStored(*host::composeScene(request, measurer()), "medium_cjk_ios16"));
}

// The medium summary in Arabic: the layout mirrored (captions on the right, amounts on the left,
// the footer in the bottom left corner), and the negative amount still reads "-$1,234.56".
TEST(WidgetRendererGolden, ArabicMediumIsMirroredWithAmountsLeftToRight) {
  device::Device d = testing::shippedDevice("ar", os::SystemVersion{17, 0, 0});
  tamsa::TamsaSummaryEntry entry = tamsa::makeSampleSummaryEntry(*d.clock);
  std::tie(entry.walletLabel, entry.periodLabel, entry.balance) =
      std::tuple{"كل المحافظ", "هذا الشهر", -1234.56};
  host::SceneRequest request{tamsa::summaryWidgetContent(d, entry),
                             WidgetFamily::systemMedium,
                             host::Appearance::light,
                             {},
                             d.systemVersion,
                             "",
                             2,
                             {},
                             "ar"};
  WidgetScene s = *host::composeScene(request, measurer());
  const LayoutNode* balance = s.layout.root.find("Text", 7);
  ASSERT_TRUE(balance && balance->text);
  EXPECT_EQ(balance->text->string, "-$1,234.56");
  EXPECT_LT(balance->frame.x, s.layout.size.width / 2);
  EXPECT_TRUE(matchesStored(s, "medium_arabic"));
}

}  // namespace
}  // namespace drawing
