#include "host/render/PangoTextMeasurer.h"

#include <gtest/gtest.h>

namespace render {
namespace {

using swiftui::Font;

const PangoTextMeasurer& measurer() {
  static const PangoTextMeasurer shared;
  return shared;
}

TEST(PangoTextMeasurerTest, LatinAndCJKHaveFontsAndPrivateUseCharactersDoNot) {
  EXPECT_EQ(measurer().measure("Balance $2,350", Font::system(14), std::nullopt, 1).missingGlyphs,
            0);
  EXPECT_EQ(measurer().measure("余额 残高 잔액", Font::system(14), std::nullopt, 1).missingGlyphs,
            0);
  EXPECT_EQ(
      measurer().measure("a\U000F0001b\U000F0002", Font::system(14), std::nullopt, 1).missingGlyphs,
      2);
}

TEST(PangoTextMeasurerTest, LineHeightIsAboutInters) {
  swiftui::TextMeasurement m =
      measurer().measure("Income", Font::system(20), std::nullopt, std::nullopt);
  EXPECT_EQ(m.lines, 1);
  EXPECT_NEAR(m.size.height, 20 * 1.21, 1.0);
  EXPECT_GT(m.size.width, 40);
  EXPECT_LT(m.size.width, 80);
}

TEST(PangoTextMeasurerTest, BoldIsWiderAndWidthScalesWithTheSize) {
  double regular = measurer().measure("$12,345.67", Font::system(12), std::nullopt, 1).size.width;
  double bold = measurer()
                    .measure("$12,345.67", Font::system(12, Font::Weight::bold), std::nullopt, 1)
                    .size.width;
  double twice = measurer().measure("$12,345.67", Font::system(24), std::nullopt, 1).size.width;
  EXPECT_GT(bold, regular);
  EXPECT_NEAR(twice, 2 * regular, 0.05);
}

TEST(PangoTextMeasurerTest, MeasuresTheSameForEveryDeviceScale) {
  PangoTextMeasurer atThree(3);
  for (const char* text : {"$12,345.67", "Expense", "全部钱包"}) {
    swiftui::TextMeasurement one = measurer().measure(text, Font::system(13), std::nullopt, 1);
    swiftui::TextMeasurement three = atThree.measure(text, Font::system(13), std::nullopt, 1);
    EXPECT_NEAR(one.size.width, three.size.width, 0.01) << text;
    EXPECT_NEAR(one.size.height, three.size.height, 0.01) << text;
  }
}

TEST(PangoTextMeasurerTest, WrapsWithinTheWidthWithoutALineLimit) {
  swiftui::TextMeasurement m = measurer().measure("Sign in to the app to see your balance",
                                                  Font::system(14), 120.0, std::nullopt);
  EXPECT_GE(m.lines, 3);
  EXPECT_LE(m.size.width, 120);
  EXPECT_FALSE(m.truncated);
}

TEST(PangoTextMeasurerTest, CutsTheEndWithAnEllipsisToFitTheLineLimit) {
  const std::string wallet = "Household and travel wallets together";
  swiftui::TextMeasurement m =
      measurer().measure(wallet, Font::system(14, Font::Weight::bold), 100.0, 1);
  EXPECT_TRUE(m.truncated);
  EXPECT_EQ(m.lines, 1);
  EXPECT_LE(m.size.width, 100.01);
  ASSERT_GT(m.drawn.size(), 4u);
  EXPECT_EQ(m.drawn.substr(m.drawn.size() - 3), "…");
  std::string kept = m.drawn.substr(0, m.drawn.size() - 3);
  EXPECT_EQ(wallet.rfind(kept, 0), 0u);
  // One more character would not have fitted.
  std::string longer = wallet.substr(0, kept.size() + 1) + "…";
  EXPECT_GT(
      measurer().measure(longer, Font::system(14, Font::Weight::bold), std::nullopt, 1).size.width,
      100);
}

TEST(PangoTextMeasurerTest, CutsCJKBetweenCharacters) {
  swiftui::TextMeasurement m = measurer().measure("全部钱包和旅行钱包", Font::system(14), 60.0, 1);
  EXPECT_TRUE(m.truncated);
  EXPECT_EQ(m.drawn, "全部钱…");
}

}  // namespace
}  // namespace render
