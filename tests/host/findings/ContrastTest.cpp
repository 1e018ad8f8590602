// Text contrast: WCAG's ratio and large-text rule at their thresholds, the background read from
// what the picture shows behind a text, frames that lie about where the text is, and the README's
// palette table against the program's.
#include "host/findings/Contrast.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

#include "shared/Palette.h"

namespace host {
namespace {

using swiftui::Font;

constexpr uikit::RGBA black{0, 0, 0, 1}, white{1, 1, 1, 1};

uikit::RGBA grey(int level) {
  return {level / 255.0, level / 255.0, level / 255.0, 1};
}

TEST(Contrast, RatiosOfKnownPairs) {
  EXPECT_DOUBLE_EQ(contrastRatio(black, white), 21);
  EXPECT_DOUBLE_EQ(contrastRatio(white, black), 21);
  EXPECT_DOUBLE_EQ(contrastRatio(grey(119), grey(119)), 1);
  // #767676 is the lightest grey that passes on white, #777777 the darkest that fails.
  EXPECT_GE(contrastRatio(grey(118), white), 4.5);
  EXPECT_LT(contrastRatio(grey(119), white), 4.5);
  EXPECT_EQ(formatRatio(contrastRatio(grey(118), white)), "4.54:1");
  EXPECT_EQ(formatRatio(4.4999), "4.49:1");  // never shown as passing when it fails
  // Half-transparent black on white is the grey it paints.
  EXPECT_DOUBLE_EQ(contrastRatio({0, 0, 0, 0.5}, white), contrastRatio({0.5, 0.5, 0.5, 1}, white));
}

TEST(Contrast, LargeTextAtItsBoundaries) {
  EXPECT_EQ(textSize(17.9, Font::Weight::regular), TextSize::normal);
  EXPECT_EQ(textSize(18, Font::Weight::regular), TextSize::large);
  EXPECT_EQ(textSize(14, Font::Weight::regular), TextSize::normal);
  EXPECT_EQ(textSize(14, Font::Weight::medium), TextSize::normal);
  EXPECT_EQ(textSize(14, Font::Weight::bold), TextSize::large);
  EXPECT_EQ(textSize(13.9, Font::Weight::bold), TextSize::normal);
  EXPECT_EQ(requiredRatio(TextSize::normal), 4.5);
  EXPECT_EQ(requiredRatio(TextSize::large), 3);
}

// A 40 x 20 point widget at 2 pixels a point, all white; paint() fills points with a colour.
struct Picture {
  drawing::LayoutTree tree{{40, 20}, 2, {}, {drawing::NodeKind::vStack, {0, 0, 40, 20}}};
  drawing::RenderedImage image{80, 40, std::vector<std::uint32_t>(80 * 40, 0xFFFFFFFF)};

  void paint(swiftui::Rect r, std::uint32_t rgb) {
    for (int y = int(r.y * 2); y < int((r.y + r.height) * 2); ++y)
      for (int x = int(r.x * 2); x < int((r.x + r.width) * 2); ++x)
        image.pixels[y * 80 + x] = 0xFF000000 | rgb;
  }
  void text(swiftui::Rect frame, uikit::RGBA color) {
    swiftui::TextLayout t;
    t.string = "Balance";
    t.fontSize = 12;
    t.color = color;
    tree.root.children.push_back({drawing::NodeKind::text, frame, t});
  }
  // A text's strokes: every third pixel row of its frame.
  void text(swiftui::Rect frame, uikit::RGBA color, std::uint32_t rgb) {
    text(frame, color);
    for (double y = frame.y; y < frame.y + frame.height; y += 1.5)
      paint({frame.x, y, frame.width, 0.5}, rgb);
  }
};

TEST(Contrast, BackgroundIsWhatThePictureShowsBehindTheText) {
  Picture p;
  p.paint({10, 5, 20, 10}, 0x3366CC);       // a patch over the white widget
  p.text({12, 6, 16, 8}, black, 0x000000);  // on the patch
  p.text({0, 16, 40, 4}, tamsa::primaryTextColor().resolved(swiftui::ColorScheme::light), 0x333333);
  p.text({11, 5, 4, 4}, {0.2, 0.4, 0.8, 1}, 0x3366CC);  // in the patch's own colour: unseen
  std::vector<TextContrast> found = textContrasts(p.tree, p.image, swiftui::ColorScheme::light);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].backgroundName, "#3366CC");
  EXPECT_EQ(found[0].foregroundName, "#000000");
  EXPECT_NEAR(found[0].ratio, contrastRatio(black, {0.2, 0.4, 0.8, 1}), 1e-9);
  EXPECT_EQ(found[1].foregroundName, "primaryTextColor");
  EXPECT_EQ(found[1].backgroundName, "widget background");
  EXPECT_TRUE(found[1].passes());
  EXPECT_DOUBLE_EQ(found[2].ratio, 1);
  EXPECT_FALSE(found[2].passes());
  // Dark appearance names the dark palette: the light primary is only a colour there.
  EXPECT_EQ(textContrasts(p.tree, p.image, swiftui::ColorScheme::dark)[1].foregroundName,
            "#333333");
}

TEST(Contrast, FramesOutsideThePictureAreNeverRead) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  Picture p;
  for (swiftui::Rect r : std::vector<swiftui::Rect>{{-50, -50, 10, 10},
                                                    {40, 0, 10, 10},
                                                    {0, 20, 10, 1e308},
                                                    {10, 10, 0, 5},
                                                    {10, 10, -5, 5},
                                                    {nan, 0, 10, 10},
                                                    {0, 0, inf, 10},
                                                    {-inf, 0, inf, 10},
                                                    {1e308, 0, 1e308, 10}})
    p.text(r, black);
  EXPECT_TRUE(textContrasts(p.tree, p.image, swiftui::ColorScheme::light).empty());

  // Partly inside: clamped to the picture and read there.
  Picture partly;
  partly.text({-1e300, -5, 2e300, 1e300}, black);
  ASSERT_EQ(textContrasts(partly.tree, partly.image, swiftui::ColorScheme::light).size(), 1u);

  // A picture that is not what its size says, or a scale that is not one: nothing read.
  Picture lying = partly;
  lying.image.pixels.resize(79);
  EXPECT_TRUE(textContrasts(lying.tree, lying.image, swiftui::ColorScheme::light).empty());
  partly.tree.scale = nan;
  EXPECT_TRUE(textContrasts(partly.tree, partly.image, swiftui::ColorScheme::light).empty());
}

// README.md shows the palette table exactly as `lint --contrast` prints it.
TEST(Contrast, ReadmeShowsThePaletteTable) {
  std::ifstream file(std::string(TAMSA_TEST_DATA) + "/../../README.md");
  std::stringstream content;
  content << file.rdbuf();
  const std::string readme = content.str(), table = paletteContrastTable();
  std::size_t start = readme.find(table.substr(0, table.find('\n')));
  ASSERT_NE(start, std::string::npos) << "README.md lacks the contrast table:\n" << table;
  std::size_t end = readme.find("\n\n", start);
  EXPECT_EQ(readme.substr(start, end == std::string::npos ? end : end + 1 - start), table);
}

// The income and expense amounts, told apart by their hue alone, become one tone in the accented
// mode; a grey beside them ranks, it does not tell apart; a differing size or group tells apart.
TEST(ToneMerges, TextsOfOneSizeToldApartByHueAloneAreNamedOnce) {
  using swiftui::ColorScheme;
  auto text = [](const std::string& string, const swiftui::Color& color, double size,
                 swiftui::AccentGroup group = swiftui::AccentGroup::standard) {
    swiftui::TextLayout t;
    t.string = string;
    t.requestedFontSize = size;
    t.fontSize = size * 0.8;  // shrunk: still the same text style
    t.fontWeight = Font::Weight::bold;
    t.color = color.resolved(ColorScheme::dark);
    drawing::LayoutTreeNode n{drawing::NodeKind::text, {}, t};
    n.accentGroup = group;
    return n;
  };
  drawing::LayoutTree tree{{40, 20}, 2, {}, {drawing::NodeKind::vStack, {0, 0, 40, 20}}};
  tree.root.children = {text("$5", tamsa::incomeColor(), 12), text("$3", tamsa::expenseColor(), 12),
                        text("$2", tamsa::incomeColor(), 12),
                        text("$9", tamsa::primaryTextColor(), 12),
                        text("$1", tamsa::secondaryTextColor(), 12)};
  EXPECT_TRUE(toneMerges(tree, ColorScheme::dark).empty());  // in full colour
  tree.accented = drawing::AccentedRendering{white, {1, 0.6, 0, 1}};
  EXPECT_EQ(toneMerges(tree, ColorScheme::dark),
            (std::vector<ToneMerge>{{"expenseColor", "incomeColor", "$3", "$5"}}));

  tree.root.children[1] = text("$3", tamsa::expenseColor(), 14);
  EXPECT_TRUE(toneMerges(tree, ColorScheme::dark).empty());
  tree.root.children[1] = text("$3", tamsa::expenseColor(), 12, swiftui::AccentGroup::accent);
  EXPECT_TRUE(toneMerges(tree, ColorScheme::dark).empty());
}

}  // namespace
}  // namespace host
