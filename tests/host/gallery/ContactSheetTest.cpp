// A contact sheet is an overview: each picture at one pixel a point, whatever its scale.
#include "host/gallery/ContactSheet.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "drawing/PngCodec.h"

namespace host {
namespace {

TEST(ContactSheet, ShowsEachPictureAtOnePixelAPoint) {
  // Four by four pixels: a red square of two by two in a blue one.
  constexpr std::uint32_t red = 0xFFFF0000u, blue = 0xFF0000FFu;
  drawing::RenderedImage picture{4, 4, std::vector<std::uint32_t>(16, blue)};
  for (int i : {0, 1, 4, 5}) picture.pixels[std::size_t(i)] = red;
  auto redPixels = [&](double scale) {
    auto png = contactSheet("sheet", {{SheetPicture{&picture, "caption", std::nullopt}}}, scale);
    EXPECT_TRUE(png);
    auto sheet = drawing::decodePng(*png);
    EXPECT_TRUE(sheet);
    return std::count(sheet->pixels.begin(), sheet->pixels.end(), red);
  };
  EXPECT_EQ(redPixels(1), 4);
  EXPECT_EQ(redPixels(2), 1);  // the square of four averaged into one
}

}  // namespace
}  // namespace host
