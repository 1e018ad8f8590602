// Layout rules checked with the fake measurer: at 10 points a character is 5 wide and a line
// 12 high, so every expected frame below is exact.
#include "platform/swiftui/Layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "platform/swiftui/FakeTextMeasurer.h"

namespace swiftui {
namespace {

class LayoutTest : public ::testing::Test {
 protected:
  LayoutNode lay(const View& view, Size size) {
    return layout(view, {size.width, size.height}, env, context);
  }
  static View text(std::string s) { return Text(std::move(s)).font(Font::system(10)); }

  FakeTextMeasurer measurer;
  LayoutContext context{measurer, {}, 1};
  EnvironmentValues env;
};

TEST_F(LayoutTest, SpacersShareTheFreeLengthEquallyAndKeepTheirMinimum) {
  View column = VStack(HorizontalAlignment::leading, 0,
                       {text("a"), Spacer(6), text("b"), Spacer(6), text("c")});
  LayoutNode n = lay(column, {100, 100});
  EXPECT_EQ(n.frame, (Rect{0, 0, 5, 100}));
  EXPECT_EQ(n.children[1].frame, (Rect{0, 12, 0, 32}));
  EXPECT_EQ(n.children[4].frame.y, 88);
  // When space runs out they keep their minimum and the column overflows.
  EXPECT_EQ(lay(column, {100, 40}).frame.height, 48);
  // Without a minimum a spacer keeps 8 points; the shapes share the rest.
  LayoutNode row = lay(HStack({Rectangle(), Spacer(), Rectangle()}), {100, 10});
  EXPECT_EQ(row.children[0].frame.width, 46);
  EXPECT_EQ(row.children[1].frame, (Rect{46, 5, 8, 0}));
}

TEST_F(LayoutTest, DefaultSpacingIsEightBetweenTextsAndNoneBesideSpacers) {
  EXPECT_EQ(lay(HStack({text("ab"), text("cd")}), {200, 50}).children[1].frame.x, 18);
  EXPECT_EQ(lay(VStack({text("ab"), text("cd")}), {200, 50}).children[1].frame.y, 20);
  EXPECT_EQ(lay(HStack({text("ab"), Spacer(3), text("cd")}), {100, 50}).children[2].frame.x, 90);
  EXPECT_EQ(lay(HStack(VerticalAlignment::center, 2, {text("ab"), text("cd")}), {200, 50})
                .children[1]
                .frame.x,
            12);
}

TEST_F(LayoutTest, LeastFlexibleChildIsPlacedFirstSoTheLabelWraps) {
  // The amount (one line, 65 wide) is less flexible than the label, takes what it needs, and
  // the label wraps in the 77 points left after the spacer's 8.
  LayoutNode n =
      lay(HStack({text("Monthly income total"), Spacer(), text("$1,234,567.89").lineLimit(1)}),
          {150, 60});
  const LayoutNode& l = n.children[0];
  const LayoutNode& a = n.children[2];
  EXPECT_EQ(l.text->lines, 2);
  EXPECT_EQ(l.frame.width, 70);
  EXPECT_EQ(a.frame, (Rect{85, 6, 65, 12}));  // centred across the row
}

// Each modifier's own frame and its child's, for one offer.
TEST_F(LayoutTest, FramesPaddingAndBackgroundsSizeTheirViews) {
  Color grey = Color::sRGB(0.5, 0.5, 0.5);
  struct Case {
    const char* name;
    View view;
    Size offer;
    Rect frame, child;
  };
  const Case cases[] = {
      {"flexible frame fills and centres",
       text("Hi").frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity}),
       {100, 50},
       {0, 0, 100, 50},
       {45, 19, 10, 12}},
      {"flexible frame capped",
       text("Hi").frame(FlexibleFrame{.maxWidth = 40}),
       {100, 50},
       {0, 0, 40, 12},
       {15, 0, 10, 12}},
      {"fixed height",
       Rectangle().fill(grey).frame(FixedFrame{.height = 1}),
       {100, 100},
       {0, 0, 100, 1},
       {0, 0, 100, 1}},
      {"padding shrinks the offer",
       text("aaaa bbbb").padding(14),
       {60, 100},
       {0, 0, 48, 52},
       {14, 14, 20, 24}},
      {"background",
       text("abcd").padding(4).background(grey),
       {100, 100},
       {0, 0, 28, 20},
       {0, 0, 28, 20}},
  };
  for (const Case& c : cases) {
    LayoutNode n = lay(c.view, c.offer);
    EXPECT_EQ(n.frame, c.frame) << c.name;
    ASSERT_EQ(n.children.size(), 1u) << c.name;
    EXPECT_EQ(n.children[0].frame, c.child) << c.name;
  }
}

// Right-to-left layout is left-to-right layout mirrored: each case gives the x of one node (a
// path of child indexes) in both directions, within 100 points.
TEST_F(LayoutTest, RightToLeftLayoutMirrorsStacksAlignmentsPaddingsAndFrames) {
  struct Case {
    const char* what;
    View view;
    std::vector<std::size_t> path;
    double leftToRightX, rightToLeftX;
  };
  const double infinity = std::numeric_limits<double>::infinity();
  for (const Case& c : std::initializer_list<Case>{
           {"a row runs from the right", HStack({text("ab"), Spacer(), text("cd")}), {0}, 0, 90},
           {"its last child ends at the left",
            HStack({text("ab"), Spacer(), text("cd")}),
            {2},
            90,
            0},
           {"leading alignment is the right edge",
            VStack(HorizontalAlignment::leading, 0, {text("abcd"), text("ab")}),
            {1},
            0,
            10},
           {"trailing alignment is the left edge",
            VStack(HorizontalAlignment::trailing, 0, {text("abcd"), text("ab")}),
            {1},
            10,
            0},
           {"a leading padding is on the right",
            text("ab").padding(EdgeSet::leading, 4),
            {0},
            4,
            0},
           {"a frame aligns its content to the leading edge",
            text("ab").frame(
                FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()}),
            {0},
            0,
            90},
           {"nested rows mirror once",
            VStack(
                HorizontalAlignment::leading, 0,
                {HStack(VerticalAlignment::center, 0, {text("ab"), text("cd")}), text("abcdef")}),
            {0, 1},
            10,
            10},
       }) {
    EnvironmentValues rtl = env;
    rtl.layoutDirection = LayoutDirection::rightToLeft;
    LayoutNode ltrNode = layout(c.view, {100, 50}, env, context);
    LayoutNode rtlNode = layout(c.view, {100, 50}, rtl, context);
    const LayoutNode *a = &ltrNode, *b = &rtlNode;
    for (std::size_t i : c.path) a = &a->children.at(i), b = &b->children.at(i);
    EXPECT_EQ(a->frame.x, c.leftToRightX) << c.what;
    EXPECT_EQ(b->frame.x, c.rightToLeftX) << c.what;
    EXPECT_EQ(a->frame.width, b->frame.width) << c.what;
  }
  EXPECT_EQ(layoutDirectionFor("ar-XB"), LayoutDirection::rightToLeft);
  EXPECT_EQ(layoutDirectionFor("he_IL"), LayoutDirection::rightToLeft);
  EXPECT_EQ(layoutDirectionFor("fr"), LayoutDirection::leftToRight);
  // By the script the language is written in, old codes included.
  for (const char* language : {"ji", "yi", "iw", "fa-IR", "ur", "az-Arab"})
    EXPECT_EQ(layoutDirectionFor(language), LayoutDirection::rightToLeft) << language;
  for (const char* language : {"az", "en-XA", "../ar", "ar.lproj", ""})
    EXPECT_EQ(layoutDirectionFor(language), LayoutDirection::leftToRight) << language;
  EnvironmentValues rtl = env;
  rtl.layoutDirection = LayoutDirection::rightToLeft;
  EXPECT_EQ(layout(text("ab"), {100, 50}, rtl, context).text->direction,
            LayoutDirection::rightToLeft);
}

TEST_F(LayoutTest, BackgroundsAndShapesResolveTheAppearance) {
  Color adaptive(uikit::UIColor::withDynamicProvider([](const uikit::UITraitCollection& t) {
    return uikit::UIColor::withRed(t.userInterfaceStyle == uikit::UIUserInterfaceStyle::dark, 0, 0,
                                   1);
  }));
  View view = Image("plus").font(Font::system(10)).background(adaptive, ShapeKind::circle);
  env.colorScheme = ColorScheme::dark;
  LayoutNode n = lay(view, {100, 100});
  EXPECT_EQ(n.color, (uikit::RGBA{1, 0, 0, 1}));
  EXPECT_EQ(n.shape, ShapeKind::circle);
  EXPECT_EQ(n.children[0].frame, (Rect{0, 0, 10, 10}));       // a symbol is as large as its font
  EXPECT_EQ(n.children[0].color, (uikit::RGBA{1, 1, 1, 1}));  // the primary colour in dark
  env.colorScheme = ColorScheme::light;
  EXPECT_EQ(lay(view, {100, 100}).color, (uikit::RGBA{0, 0, 0, 1}));
}

TEST_F(LayoutTest, OneLineTextShrinksBeforeItIsCut) {
  View amount = text("$12345678").lineLimit(1);  // 45 wide at full size
  LayoutNode shrunk = lay(amount.minimumScaleFactor(0.8), {40, 20});
  EXPECT_TRUE(shrunk.text->shrunk);
  EXPECT_FALSE(shrunk.text->truncated);
  EXPECT_NEAR(shrunk.text->fontSize, 10 * 40.0 / 45, 0.06);
  LayoutNode cut = lay(amount.minimumScaleFactor(0.95), {40, 20});
  EXPECT_TRUE(cut.text->truncated);
  EXPECT_DOUBLE_EQ(cut.text->fontSize, 9.5);
  EXPECT_EQ(cut.text->drawn, "$123456…");
  EXPECT_FALSE(lay(amount, {40, 20}).text->shrunk);
}

TEST_F(LayoutTest, TextWrapsUnlessItHasALineLimitCarriesItsLanguageAndRoundsUp) {
  LayoutNode wrapped = lay(text("aaa bbb ccc"), {30, 100});
  EXPECT_EQ(wrapped.text->lines, 3);
  EXPECT_EQ(wrapped.frame, (Rect{0, 0, 15, 36}));
  EXPECT_EQ(lay(text("aaa bbb ccc").lineLimit(1), {30, 100}).text->drawn, "aaa b…");
  // Cut inside a word, as the device does.
  EXPECT_EQ(lay(text("aaa bbb ccc").lineLimit(2), {30, 100}).text->drawn, "aaa bbb c…");
  env.language = "zh-Hans";
  EXPECT_EQ(lay(text("a"), {30, 100}).text->language, "zh-Hans");
  // Sizes are rounded up to the pixel grid: 38.5 by 13.2 points.
  View t = Text("abcdefg").font(Font::system(11));
  EXPECT_EQ(lay(t, {100, 100}).frame, (Rect{0, 0, 39, 14}));
  context.pixelScale = 3;
  EXPECT_EQ(lay(t, {100, 100}).frame, (Rect{0, 0, 116.0 / 3, 40.0 / 3}));
}

TEST_F(LayoutTest, StackAndGroupStylesReachEveryTextButATextsOwnStyleWins) {
  Color red = Color::sRGB(1, 0, 0);
  LayoutNode n = lay(VStack(HorizontalAlignment::trailing, 0,
                            {Group({Text("a"), Text("b")}).font(Font::system(9)),
                             Text("c").font(Font::system(20, Font::Weight::bold))})
                         .foregroundColor(red),
                     {100, 100});
  EXPECT_EQ(n.children[1].text->fontSize, 9);
  EXPECT_EQ(n.children[1].text->color, (uikit::RGBA{1, 0, 0, 1}));
  EXPECT_EQ(n.children[2].text->fontWeight, Font::Weight::bold);
  EXPECT_EQ(n.children[1].frame, (Rect{5, 11, 5, 11}));  // trailing; 4.5 wide, rounded up
}

TEST_F(LayoutTest, BranchesReadersAndKeysAreResolvedWhenLaidOut) {
  int built = 0;
  View v = ConditionalContent(
      true, [&] { return text("yes"); }, [&] { return ++built, text("no"); });
  EXPECT_EQ(built, 0);
  EXPECT_EQ(lay(AnyView(v), {100, 100}).text->string, "yes");
  View family = EnvironmentReader([](const EnvironmentValues& e) {
    return text(e.widgetFamily == WidgetFamily::systemSmall ? "small" : "medium");
  });
  env.widgetFamily = WidgetFamily::systemMedium;
  EXPECT_EQ(lay(family, {100, 100}).text->string, "medium");
  View key = Text(LocalizedStringKey{"Tamsa"});
  EXPECT_EQ(lay(key, {100, 100}).text->string, "Tamsa");
  context.localizedKeyResolver = [](const std::string& k) { return k + "!"; };
  EXPECT_EQ(lay(key, {100, 100}).text->string, "Tamsa!");
}

TEST_F(LayoutTest, WidgetContentSitsInsideTheMarginsWithAbsoluteFrames) {
  View content = VStack(HorizontalAlignment::leading, 0,
                        {text("top"), Spacer(), HStack({text("a"), Spacer(), text("b")})});
  WidgetLayout w = layoutWidget(content, {158, 158}, {16, 16, 16, 16}, env, context);
  EXPECT_EQ(w.root.frame, (Rect{16, 16, 126, 126}));
  EXPECT_EQ(w.root.children[2].children[2].frame, (Rect{137, 130, 5, 12}));
  // Content narrower than the widget is centred.
  EXPECT_EQ(layoutWidget(text("ab"), {100, 50}, {}, env, context).root.frame,
            (Rect{45, 19, 10, 12}));
}

TEST_F(LayoutTest, InspectFindsContainerBackgroundAndTheOutermostURL) {
  View inner = text("a").widgetURL("tamsaledger://inner");
  ViewTraits traits =
      inspect(VStack({inner})
                  .containerBackground(BackgroundStyle{}, ContainerBackgroundPlacement::widget)
                  .widgetURL("tamsaledger://widget"),
              env);
  EXPECT_EQ(traits, (ViewTraits{true, "tamsaledger://widget"}));
  EXPECT_EQ(inspect(text("a").padding(14).widgetURL(std::nullopt), env), ViewTraits{});
}

}  // namespace
}  // namespace swiftui
