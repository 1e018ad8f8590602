// Layout rules checked with the fake measurer: at 10 points a character is 5 wide and a line
// 12 high, so every expected frame below is exact.
#include "platform/swiftui/Layout.h"

#include <gtest/gtest.h>

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
  LayoutContext context{measurer};
  EnvironmentValues env;
};

TEST_F(LayoutTest, SpacersShareTheFreeHeightEquallyAndKeepTheirMinimum) {
  View column = VStack(HorizontalAlignment::leading, 0,
                       {text("a"), Spacer(6), text("b"), Spacer(6), text("c")});
  LayoutNode n = lay(column, {100, 100});
  ASSERT_EQ(n.children.size(), 5u);
  EXPECT_EQ(n.frame, (Rect{0, 0, 5, 100}));
  EXPECT_EQ(n.children[1].frame, (Rect{0, 12, 0, 32}));
  EXPECT_EQ(n.children[2].frame.y, 44);
  EXPECT_EQ(n.children[3].frame.height, 32);
  EXPECT_EQ(n.children[4].frame.y, 88);
  // When space runs out they keep their minimum and the column overflows.
  LayoutNode crowded = lay(column, {100, 40});
  EXPECT_EQ(crowded.children[1].frame.height, 6);
  EXPECT_EQ(crowded.children[3].frame.height, 6);
  EXPECT_EQ(crowded.frame.height, 48);
}

TEST_F(LayoutTest, SpacerWithoutMinimumKeepsEightPoints) {
  LayoutNode n = lay(HStack({Rectangle(), Spacer(), Rectangle()}), {100, 10});
  // The spacer's minimum is set aside; the shapes share the 92 points left.
  EXPECT_EQ(n.children[0].frame.width, 46);
  EXPECT_EQ(n.children[1].frame, (Rect{46, 5, 8, 0}));
  EXPECT_EQ(n.children[2].frame.x, 54);
}

TEST_F(LayoutTest, RowPutsCaptionLeadingAndAmountTrailing) {
  LayoutNode n = lay(HStack({text("Income"), Spacer(), text("$4,200")}), {200, 50});
  EXPECT_EQ(n.frame.width, 200);
  EXPECT_EQ(n.children[0].frame, (Rect{0, 0, 30, 12}));
  EXPECT_EQ(n.children[1].frame.width, 140);
  EXPECT_EQ(n.children[2].frame, (Rect{170, 0, 30, 12}));
}

TEST_F(LayoutTest, DefaultSpacingIsEightBetweenTextsAndNoneBesideSpacers) {
  LayoutNode row = lay(HStack({text("ab"), text("cd")}), {200, 50});
  EXPECT_EQ(row.children[1].frame.x, 18);
  LayoutNode column = lay(VStack({text("ab"), text("cd")}), {200, 50});
  EXPECT_EQ(column.children[1].frame.y, 20);
  LayoutNode spaced = lay(HStack({text("ab"), Spacer(3), text("cd")}), {100, 50});
  EXPECT_EQ(spaced.children[1].frame.x, 10);
  EXPECT_EQ(spaced.children[2].frame.x, 90);
  LayoutNode given = lay(HStack(VerticalAlignment::center, 2, {text("ab"), text("cd")}), {200, 50});
  EXPECT_EQ(given.children[1].frame.x, 12);
}

TEST_F(LayoutTest, LeastFlexibleChildIsPlacedFirstSoTheLabelWraps) {
  // The amount (one line, 65 wide) is less flexible than the label, takes what it needs, and
  // the label wraps in the 77 points left after the spacer's 8.
  View label = text("Monthly income total");
  View amount = text("$1,234,567.89").lineLimit(1);
  LayoutNode n = lay(HStack({label, Spacer(), amount}), {150, 60});
  const LayoutNode& l = n.children[0];
  const LayoutNode& a = n.children[2];
  EXPECT_EQ(a.frame.width, 65);
  EXPECT_FALSE(a.text->truncated);
  EXPECT_EQ(l.text->lines, 2);
  EXPECT_EQ(l.frame.width, 70);
  EXPECT_EQ(a.frame.x, 85);
  EXPECT_EQ(n.frame.height, 24);
  EXPECT_EQ(a.frame.y, 6);  // centred across the row
}

TEST_F(LayoutTest, EqualChildrenShareTheRowEqually) {
  LayoutNode n =
      lay(HStack(VerticalAlignment::center, 0, {Rectangle(), Rectangle(), Rectangle()}), {90, 10});
  for (int i = 0; i < 3; ++i) EXPECT_EQ(n.children[i].frame, (Rect{30.0 * i, 0, 30, 10}));
}

TEST_F(LayoutTest, FlexibleFrameFillsTheOfferAndCentresItsChild) {
  LayoutNode n =
      lay(text("Hi").frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity}), {100, 50});
  EXPECT_EQ(n.type, "Frame");
  EXPECT_EQ(n.frame, (Rect{0, 0, 100, 50}));
  EXPECT_EQ(n.children[0].frame, (Rect{45, 19, 10, 12}));
  LayoutNode capped = lay(text("Hi").frame(FlexibleFrame{.maxWidth = 40}), {100, 50});
  EXPECT_EQ(capped.frame.width, 40);
  EXPECT_EQ(capped.frame.height, 12);
  LayoutNode leading =
      lay(text("Hi").frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()}),
          {100, 50});
  EXPECT_EQ(leading.children[0].frame.x, 0);
}

TEST_F(LayoutTest, FixedHeightFrameMakesAFullWidthDivider) {
  Color grey = Color::sRGB(0.5, 0.5, 0.5);
  LayoutNode n =
      lay(VStack(HorizontalAlignment::leading, 0,
                 {text("abcd"), Rectangle().fill(grey).frame(FixedFrame{.height = 1}), text("ef")}),
          {100, 100});
  const LayoutNode& frame = n.children[1];
  EXPECT_EQ(frame.type, "Frame");
  EXPECT_EQ(frame.frame, (Rect{0, 12, 100, 1}));
  EXPECT_EQ(frame.children[0].type, "Rectangle");
  EXPECT_EQ(frame.children[0].frame, (Rect{0, 12, 100, 1}));
  EXPECT_EQ(frame.children[0].color, (uikit::RGBA{0.5, 0.5, 0.5, 1}));
}

TEST_F(LayoutTest, PaddingShrinksTheOfferAndAddsItsInsets) {
  LayoutNode bottom = lay(text("abcd").padding(EdgeSet::bottom, 10), {100, 100});
  EXPECT_EQ(bottom.type, "Padding");
  EXPECT_EQ(bottom.frame, (Rect{0, 0, 20, 22}));
  EXPECT_EQ(bottom.children[0].frame, (Rect{0, 0, 20, 12}));
  LayoutNode all = lay(text("aaaa bbbb").padding(14), {60, 100});
  EXPECT_EQ(all.children[0].text->lines, 2);  // offered 32, needs 45
  EXPECT_EQ(all.children[0].frame, (Rect{14, 14, 20, 24}));
  EXPECT_EQ(all.frame, (Rect{0, 0, 48, 52}));
}

TEST_F(LayoutTest, BackgroundTakesItsViewsSizeAndResolvesTheAppearance) {
  Color adaptive(uikit::UIColor::withDynamicProvider([](const uikit::UITraitCollection& t) {
    return t.userInterfaceStyle == uikit::UIUserInterfaceStyle::dark
               ? uikit::UIColor::withRed(0, 0, 0, 1)
               : uikit::UIColor::withRed(1, 1, 1, 1);
  }));
  View view = text("abcd").padding(4).background(adaptive);
  LayoutNode light = lay(view, {100, 100});
  EXPECT_EQ(light.type, "Background");
  EXPECT_EQ(light.frame, (Rect{0, 0, 28, 20}));
  EXPECT_EQ(light.color, (uikit::RGBA{1, 1, 1, 1}));
  env.colorScheme = ColorScheme::dark;
  EXPECT_EQ(lay(view, {100, 100}).color, (uikit::RGBA{0, 0, 0, 1}));
}

TEST_F(LayoutTest, OneLineTextShrinksBeforeItIsCut) {
  View amount = text("$12345678").lineLimit(1);  // 45 wide at full size
  LayoutNode shrunk = lay(amount.minimumScaleFactor(0.8), {40, 20});
  EXPECT_TRUE(shrunk.text->shrunk);
  EXPECT_FALSE(shrunk.text->truncated);
  EXPECT_EQ(shrunk.text->drawn, "$12345678");
  EXPECT_NEAR(shrunk.text->fontSize, 10 * 40.0 / 45, 0.06);
  EXPECT_LE(shrunk.frame.width, 40);

  LayoutNode cut = lay(amount.minimumScaleFactor(0.95), {40, 20});
  EXPECT_TRUE(cut.text->shrunk);
  EXPECT_TRUE(cut.text->truncated);
  EXPECT_DOUBLE_EQ(cut.text->fontSize, 9.5);
  EXPECT_EQ(cut.text->drawn, "$123456…");
  EXPECT_EQ(cut.text->string, "$12345678");

  LayoutNode plain = lay(amount, {40, 20});
  EXPECT_FALSE(plain.text->shrunk);
  EXPECT_DOUBLE_EQ(plain.text->fontSize, 10);
  EXPECT_EQ(plain.text->drawn, "$123456…");
}

TEST_F(LayoutTest, TextWrapsUnlessItHasALineLimit) {
  LayoutNode wrapped = lay(text("aaa bbb ccc"), {30, 100});
  EXPECT_EQ(wrapped.text->lines, 3);
  EXPECT_EQ(wrapped.frame, (Rect{0, 0, 15, 36}));
  LayoutNode cut = lay(text("aaa bbb ccc").lineLimit(1), {30, 100});
  EXPECT_EQ(cut.text->lines, 1);
  EXPECT_EQ(cut.text->drawn, "aaa b…");
  EXPECT_TRUE(cut.text->truncated);
  LayoutNode two = lay(text("aaa bbb ccc").lineLimit(2), {30, 100});
  EXPECT_EQ(two.text->lines, 2);
  EXPECT_EQ(two.text->drawn, "aaa bbb c…");  // cut inside a word, as the device does
}

TEST_F(LayoutTest, TextSizeIsRoundedUpToThePixelGrid) {
  View t = Text("abcdefg").font(Font::system(11));  // 38.5 wide, 13.2 high
  EXPECT_EQ(lay(t, {100, 100}).frame, (Rect{0, 0, 39, 14}));
  context.pixelScale = 3;
  LayoutNode n = lay(t, {100, 100});
  EXPECT_NEAR(n.frame.width, 116.0 / 3, 1e-9);
  EXPECT_NEAR(n.frame.height, 40.0 / 3, 1e-9);
}

TEST_F(LayoutTest, StackEnvironmentStylesEveryTextButATextsOwnStyleWins) {
  Color red = Color::sRGB(1, 0, 0);
  Color blue = Color::sRGB(0, 0, 1);
  LayoutNode n = lay(
      VStack(
          HorizontalAlignment::trailing, 0,
          {Text("a"), Text("b").font(Font::system(20, Font::Weight::bold)).foregroundColor(blue)})
          .font(Font::system(9))
          .foregroundColor(red),
      {100, 100});
  const TextLayout& a = *n.children[0].text;
  const TextLayout& b = *n.children[1].text;
  EXPECT_EQ(a.fontSize, 9);
  EXPECT_EQ(a.color, (uikit::RGBA{1, 0, 0, 1}));
  EXPECT_EQ(b.fontSize, 20);
  EXPECT_EQ(b.fontWeight, Font::Weight::bold);
  EXPECT_EQ(b.color, (uikit::RGBA{0, 0, 1, 1}));
  EXPECT_EQ(n.children[0].frame.x, 5);  // trailing-aligned; 4.5 wide, rounded up
}

TEST_F(LayoutTest, TextWithoutStyleUsesBodyFontAndPrimaryColour) {
  env.colorScheme = ColorScheme::dark;
  LayoutNode n = lay(Text("a"), {100, 100});
  EXPECT_EQ(n.text->fontSize, 17);
  EXPECT_EQ(n.text->color, (uikit::RGBA{1, 1, 1, 1}));
}

TEST_F(LayoutTest, OnlyTheChosenBranchIsBuilt) {
  int built = 0;
  View v = ConditionalContent(
      true, [&] { return text("yes"); },
      [&] {
        ++built;
        return text("no");
      });
  EXPECT_EQ(built, 0);
  LayoutNode n = lay(AnyView(v), {100, 100});
  EXPECT_EQ(n.type, "Text");  // no layout of their own
  EXPECT_EQ(n.text->string, "yes");
}

TEST_F(LayoutTest, EnvironmentReaderFollowsTheWidgetFamily) {
  View v = EnvironmentReader([](const EnvironmentValues& e) {
    return text(e.widgetFamily == WidgetFamily::systemSmall ? "small" : "medium");
  });
  EXPECT_EQ(lay(v, {100, 100}).text->string, "small");
  env.widgetFamily = WidgetFamily::systemMedium;
  EXPECT_EQ(lay(v, {100, 100}).text->string, "medium");
}

TEST_F(LayoutTest, GroupChildrenBecomeTheStacksChildrenAndTakeItsStyle) {
  LayoutNode n = lay(VStack(HorizontalAlignment::leading, 0,
                            {Group({Text("a"), Text("b")}).font(Font::system(10)), text("c")}),
                     {100, 100});
  ASSERT_EQ(n.children.size(), 3u);
  EXPECT_EQ(n.children[1].frame.y, 12);
  EXPECT_EQ(n.children[1].text->fontSize, 10);
}

TEST_F(LayoutTest, LocalizedKeyGoesThroughTheResolver) {
  View v = Text(LocalizedStringKey{"Tamsa"}).font(Font::system(10));
  EXPECT_EQ(lay(v, {100, 100}).text->string, "Tamsa");
  context.localizedKeyResolver = [](const std::string& key) { return key + "!"; };
  EXPECT_EQ(lay(v, {100, 100}).text->string, "Tamsa!");
  EXPECT_EQ(lay(text("Tamsa"), {100, 100}).text->string, "Tamsa");
}

TEST_F(LayoutTest, LabelPutsItsSymbolBeforeTheTitle) {
  LayoutNode n = lay(Label("Add", "plus.circle").font(Font::system(10)), {100, 100});
  EXPECT_EQ(n.type, "Label");
  ASSERT_EQ(n.children.size(), 2u);
  EXPECT_EQ(n.children[0].systemImage, "plus.circle");
  EXPECT_EQ(n.children[1].frame, (Rect{16, 0, 15, 12}));
}

TEST_F(LayoutTest, WidgetContentSitsInsideTheMarginsWithAbsoluteFrames) {
  View content = VStack(HorizontalAlignment::leading, 0,
                        {text("top"), Spacer(), HStack({text("a"), Spacer(), text("b")})});
  WidgetLayout w = layoutWidget(content, {158, 158}, {16, 16, 16, 16}, env, context);
  EXPECT_EQ(w.root.frame, (Rect{16, 16, 126, 126}));
  const LayoutNode& row = w.root.children[2];
  EXPECT_EQ(row.frame, (Rect{16, 130, 126, 12}));
  EXPECT_EQ(row.children[2].frame, (Rect{137, 130, 5, 12}));
  // Content narrower than the widget is centred.
  WidgetLayout centred = layoutWidget(text("ab"), {100, 50}, {}, env, context);
  EXPECT_EQ(centred.root.frame, (Rect{45, 19, 10, 12}));
}

TEST_F(LayoutTest, InspectFindsContainerBackgroundAndTheOutermostURL) {
  View inner = text("a").widgetURL("tamsaledger://inner");
  ViewTraits traits =
      inspect(VStack({inner})
                  .containerBackground(BackgroundStyle{}, ContainerBackgroundPlacement::widget)
                  .widgetURL("tamsaledger://widget"),
              env);
  EXPECT_TRUE(traits.usesContainerBackground);
  EXPECT_EQ(traits.widgetURL, "tamsaledger://widget");
  ViewTraits none = inspect(text("a").padding(14).widgetURL(std::nullopt), env);
  EXPECT_FALSE(none.usesContainerBackground);
  EXPECT_EQ(none.widgetURL, std::nullopt);
}

TEST(FakeTextMeasurerTest, CountsWideCharactersAndMissingGlyphs) {
  FakeTextMeasurer m;
  TextMeasurement cjk = m.measure("收入ab", Font::system(10), std::nullopt, std::nullopt);
  EXPECT_EQ(cjk.size, (Size{30, 12}));
  EXPECT_EQ(m.measure("a\uE000", Font::system(10), std::nullopt, 1).missingGlyphs, 1);
  TextMeasurement breaks = m.measure("aaaaaaaaaa", Font::system(10), 20.0, std::nullopt);
  EXPECT_EQ(breaks.lines, 3);  // a word too wide breaks inside itself
}

}  // namespace
}  // namespace swiftui
