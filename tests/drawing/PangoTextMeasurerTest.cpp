#include "drawing/PangoTextMeasurer.h"

#include <gtest/gtest.h>

#include "drawing/RenderTesting.h"

namespace drawing {
namespace {

using swiftui::Font;
using swiftui::TextMeasurement;

using testing::measurer;

std::string repeated(const std::string& piece, std::size_t times) {
  std::string s;
  for (std::size_t i = 0; i < times; ++i) s += piece;
  return s;
}

TEST(PangoTextMeasurerTest, LatinAndCJKHaveFontsAndPrivateUseCharactersDoNot) {
  for (auto [text, missing] :
       {std::pair{"Balance $2,350 余额 残高 잔액", 0}, std::pair{"a\U000F0001b\U000F0002", 2}})
    EXPECT_EQ(measurer().measure(text, Font::system(14), std::nullopt, 1).missingGlyphs, missing);
}

TEST(PangoTextMeasurerTest, CutsTheEndWithAnEllipsisToFitTheLineLimit) {
  const std::string wallet = "Household and travel wallets together";
  Font bold = Font::system(14, Font::Weight::bold);
  TextMeasurement m = measurer().measure(wallet, bold, 100.0, 1);
  EXPECT_LE(m.size.width, 100.01);
  std::string kept = m.drawn.substr(0, m.drawn.size() - 3);
  EXPECT_EQ(m.drawn.substr(kept.size()), "…");
  EXPECT_EQ(wallet.rfind(kept, 0), 0u);
  // One more character would not have fitted.
  std::string longer = wallet.substr(0, kept.size() + 1) + "…";
  EXPECT_GT(measurer().measure(longer, bold, std::nullopt, 1).size.width, 100);
  EXPECT_EQ(measurer().measure("全部钱包和旅行钱包", Font::system(14), 60.0, 1).drawn, "全部钱…");
  // Where no letter fits beside it, the ellipsis stands alone.
  const double ellipsis = measurer().measure("…", bold, std::nullopt, 1).size.width;
  EXPECT_EQ(measurer().measure("Wallet", bold, ellipsis + 0.5, 1).drawn, "…");
}

// Only a bounded start of a text is ever laid out, so a long one is cut exactly as its start is.
TEST(PangoTextMeasurerTest, AHundredKilobyteTextIsCutAsItsFirstTwoHundredCharactersAre) {
  const std::string name = repeated("Household wallet ", 6'000), start = name.substr(0, 200);
  for (int lineLimit : {0, 1, 2}) {
    TextMeasurement whole = measurer().measure(name, Font::system(14), 120.0, lineLimit);
    TextMeasurement first = measurer().measure(start, Font::system(14), 120.0, lineLimit);
    EXPECT_TRUE(whole.truncated);
    EXPECT_EQ(whole, first) << lineLimit;
  }
}

TEST(PangoTextMeasurerTest, ATextWithoutALineLimitIsBoundedAndHostileBytesAreReplaced) {
  const std::string caption = repeated("Ausgaben \xff\xfe ", 9'000);
  for (auto width :
       {std::optional<double>(150.0), std::optional<double>(0.0), std::optional<double>()}) {
    TextMeasurement m = measurer().measure(caption, Font::system(12), width, std::nullopt);
    EXPECT_TRUE(m.truncated);
    EXPECT_LE(m.lines, PangoTextMeasurer::maxLines);
    EXPECT_LE(m.drawn.size(), PangoTextMeasurer::maxLaidOutBytes + 8);
    EXPECT_EQ(m.drawn.find('\xff'), std::string::npos);
    EXPECT_EQ(m.drawn.rfind("…"), m.drawn.size() - 3);
  }
}

// In a right-to-left language a paragraph runs right to left only when it holds a right-to-left
// letter or mark: each end of those ranges, and the code point just outside it.
TEST(PangoTextMeasurerTest, OnlyRightToLeftLettersAndMarksTurnTheParagraph) {
  CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
  CairoContext cr(cairo_create(surface.get()));
  PangoContextHandle context = measurer().drawingContext(cr.get(), reachOf("Hello"));
  PangoLayoutHandle layout(pango_layout_new(context.get()));
  auto rightToLeft = [&](gunichar c) {
    char text[8] = {};
    g_unichar_to_utf8(c, text);
    measurer().configure(layout.get(), std::string("1") + text, Font::system(12), std::nullopt,
                         "ar");
    return pango_context_get_base_dir(context.get()) == PANGO_DIRECTION_RTL;
  };
  for (gunichar c : {0x0590, 0x08FF, 0xFB1D, 0xFDFF, 0xFE70, 0xFEFF, 0x10800, 0x10FFF, 0x1E800,
                     0x1EFFF, 0x200F, 0x202B, 0x202E, 0x2067})
    EXPECT_TRUE(rightToLeft(c)) << std::hex << c;
  for (gunichar c : {0x058F, 0x0900, 0xFB1C, 0xFE00, 0xFE6F, 0xFF00, 0x107FF, 0x11000, 0x1E7FF,
                     0x1F000, 0x200E, 0x202A, 0x202C, 0x2066})
    EXPECT_FALSE(rightToLeft(c)) << std::hex << c;
}

}  // namespace
}  // namespace drawing
