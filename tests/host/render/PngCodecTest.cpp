// PNGs round-trip the renderer's premultiplied pixels (within rounding), and hostile bytes or
// sizes are refused rather than decoded.
#include "host/render/PngCodec.h"

#include <gtest/gtest.h>

namespace render {
namespace {

TEST(PngCodec, RoundTripsPremultipliedPixelsAndRefusesWhatItCannotTrust) {
  RenderedImage image{
      3, 2, {0xFF336699u, 0x00000000u, 0x80402010u, 0x40100804u, 0xFFFFFFFFu, 0x01010101u}};
  auto png = encodePng(image);
  ASSERT_TRUE(png);
  auto back = decodePng(*png);
  ASSERT_TRUE(back);
  ASSERT_EQ(back->width, 3);
  ASSERT_EQ(back->height, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      auto a = image.at(x, y), b = back->at(x, y);
      EXPECT_EQ(a.alpha, b.alpha);
      EXPECT_NEAR(a.red, b.red, 2) << x << "," << y;
      EXPECT_NEAR(a.blue, b.blue, 2) << x << "," << y;
    }
  EXPECT_FALSE(decodePng(*png, 5));  // more pixels than allowed
  EXPECT_FALSE(decodePng(png->substr(0, png->size() / 2)));
  EXPECT_FALSE(decodePng("not a png"));
}

}  // namespace
}  // namespace render
