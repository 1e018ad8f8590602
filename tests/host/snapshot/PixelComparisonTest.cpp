// The anti-aliasing rule on small synthetic pictures.
#include "host/snapshot/PixelComparison.h"

#include <gtest/gtest.h>

namespace host {
namespace {

using render::RenderedImage;

constexpr std::uint32_t kWhite = 0xffffffff, kBlack = 0xff000000, kRed = 0xffff0000;

// 12 x 12 white with the given block filled.
RenderedImage picture(int x0, int y0, int size, std::uint32_t fill) {
  RenderedImage image{12, 12, std::vector<std::uint32_t>(144, kWhite)};
  for (int y = y0; y < y0 + size; ++y)
    for (int x = x0; x < x0 + size; ++x) image.pixels[y * 12 + x] = fill;
  return image;
}

TEST(PixelComparison, IgnoresAntiAliasedEdgesAndCountsWhatAPersonSees) {
  struct Case {
    const char* what;
    RenderedImage actual;
    std::size_t differing, noise;
  } cases[] = {
      {"the same", picture(4, 4, 4, kBlack), 0, 0},
      {"a channel within the level", picture(4, 4, 4, 0xff0a0a0a), 0, 0},
      // Every changed pixel borders an unchanged one in one picture or the other.
      {"moved by a pixel", picture(5, 4, 4, kBlack), 0, 8},
      // The block's inner 2 x 2 have only block neighbours: a change a person sees.
      {"block recoloured", picture(4, 4, 4, kRed), 4, 12},
      {"block grown by two pixels", picture(3, 3, 6, kBlack), 0, 20},
      {"all black", picture(0, 0, 12, kBlack), 108, 20},
  };
  const RenderedImage reference = picture(4, 4, 4, kBlack);
  for (const auto& c : cases) {
    PixelDifference d = comparePixels(reference, c.actual, 16);
    EXPECT_EQ(d.differing, c.differing) << c.what;
    EXPECT_EQ(d.edgeNoise, c.noise) << c.what;
  }
  // A partly transparent pixel is an edge: a change there is noise.
  RenderedImage soft = picture(0, 0, 12, kWhite), softer = soft;
  soft.pixels[40] = 0x80808080;
  softer.pixels[40] = 0x40404040;
  EXPECT_EQ(comparePixels(soft, softer, 16).differing, 0u);
  EXPECT_TRUE(comparePixels(reference, RenderedImage{4, 4, std::vector<std::uint32_t>(16)}, 16)
                  .exceeds(PixelThreshold{16, 1000}));
}

TEST(PixelComparison, TheDifferenceImageMarksCountedPixelsRed) {
  RenderedImage diff = differenceImage(picture(4, 4, 4, kBlack), picture(4, 4, 4, kRed), 16);
  EXPECT_EQ(diff.pixels[5 * 12 + 5], kRed);        // inside the block
  EXPECT_EQ(diff.pixels[4 * 12 + 4], 0xffffc800);  // its edge: noise
  EXPECT_NE(diff.pixels[0], kRed);                 // untouched
}

}  // namespace
}  // namespace host
