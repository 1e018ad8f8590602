// The anti-aliasing rule: noise on edges is forgiven, and pictures made to pass for noise (all
// edges, partly transparent, a checkerboard) are not.
#include "drawing/PixelComparison.h"

#include <gtest/gtest.h>

#include <cmath>

#include "drawing/PngCodec.h"
#include "drawing/RenderTesting.h"
#include "host/system/WidgetFraming.h"
#include "support/RunProgram.h"

namespace drawing {
namespace {

constexpr std::uint32_t kWhite = 0xffffffff, kBlack = 0xff000000, kRed = 0xffff0000;
constexpr PixelThreshold kStrict{16, 0};

// 12 x 12 white with a black 4 x 4 block at (4, 4), its outline grey when soft.
RenderedImage block(bool soft = false) {
  RenderedImage image{12, 12, std::vector<std::uint32_t>(144, kWhite)};
  for (int y = 4; y < 8; ++y)
    for (int x = 4; x < 8; ++x)
      image.pixels[y * 12 + x] =
          soft && (x == 4 || x == 7 || y == 4 || y == 7) ? 0xff808080 : kBlack;
  return image;
}

RenderedImage drawn(const std::string& cell) {
  return *drawing::decodePng(
      testing_support::readFile(TAMSA_TEST_DATA "/snapshots/signed-out/en/" + cell + ".png"));
}

// A grey label drawn at the scale, as texts are drawn in widgets.
RenderedImage label(double scale) {
  using namespace swiftui;
  View text = Text("Balance €12,046.55")
                  .font(Font::system(13))
                  .foregroundColor(Color::sRGB(0.56, 0.56, 0.58));
  host::SceneRequest request{text, WidgetFamily::systemSmall, host::Appearance::light, {}, {}, "",
                             scale};
  auto scene = *host::composeScene(request, drawing::testing::measurer());
  return drawing::renderImage(scene, scale, drawing::testing::measurer());
}

// Each pixel made by f(x, y, premultiplied pixel) from the picture's own.
template <class F>
RenderedImage remade(RenderedImage image, F f) {
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      auto& p = image.pixels[static_cast<std::size_t>(y) * image.width + x];
      p = f(x, y, p);
    }
  return image;
}

int channel(std::uint32_t p, int c) {
  return static_cast<int>((p >> (8 * c)) & 0xff);
}

// The pixel at (x, y), or the nearest one inside the picture.
std::uint32_t at(const RenderedImage& image, int x, int y) {
  return image.pixels[static_cast<std::size_t>(std::clamp(y, 0, image.height - 1)) * image.width +
                      std::clamp(x, 0, image.width - 1)];
}

// The picture moved right and down by a fraction of a pixel, as another rasterizer would place it.
RenderedImage nudged(const RenderedImage& image, double dx, double dy) {
  return remade(image, [&](int x, int y, std::uint32_t p) {
    std::uint32_t out = 0;
    for (int c = 0; c < 4; ++c)
      out |=
          static_cast<std::uint32_t>(std::lround((1 - dx) * (1 - dy) * channel(p, c) +
                                                 dx * (1 - dy) * channel(at(image, x - 1, y), c) +
                                                 (1 - dx) * dy * channel(at(image, x, y - 1), c) +
                                                 dx * dy * channel(at(image, x - 1, y - 1), c)))
          << (8 * c);
    return out;
  });
}

// Text recoloured where anti-aliasing might hide it: every opaque darker pixel on an edge has the
// channels moved by `by`, but never by more than its own contrast.
RenderedImage recoloured(const RenderedImage& image, std::vector<int> channels, int by) {
  return remade(image, [&](int x, int y, std::uint32_t p) {
    int contrast = 0;
    for (int ny = y - 1; ny <= y + 1; ++ny)
      for (int nx = x - 1; nx <= x + 1; ++nx)
        for (int c = 0; c < 4; ++c)
          contrast = std::max(contrast, std::abs(channel(p, c) - channel(at(image, nx, ny), c)));
    if (channel(p, 3) != 255 || contrast < 32 ||
        channel(p, 0) + channel(p, 1) + channel(p, 2) > 600)
      return p;
    for (int c : channels) {
      int moved = std::clamp(
          channel(p, c) + (by < 0 ? -1 : 1) * std::min({std::abs(by), contrast, 128}), 0, 255);
      p = (p & ~(0xffu << (8 * c))) | static_cast<std::uint32_t>(moved) << (8 * c);
    }
    return p;
  });
}

// Alpha 254 where it was opaque, premultiplied: to the eye the same picture.
std::uint32_t nearlyOpaque(int, int, std::uint32_t p) {
  std::uint32_t out = 0;
  for (int c = 0; c < 4; ++c)
    out |= static_cast<std::uint32_t>(channel(p, c) * 254 + 127) / 255 << (8 * c);
  return out;
}

TEST(PixelComparison, ForgivesNoiseOnEdgesButNotAChangeAPersonSees) {
  const RenderedImage reference = block();
  struct Case {
    const char* what;
    RenderedImage actual;
    std::size_t differing, noise;
  } cases[] = {
      {"the same", block(), 0, 0},
      {"within the level", remade(block(), [](int, int, std::uint32_t p) { return p | 0x0a0a0a; }),
       0, 0},
      {"the outline softened", block(true), 0, 12},
      // A pixel that flips from black to white did not blur: the block moved, or grew.
      {"moved by a pixel",
       remade(block(),
              [](int x, int y, std::uint32_t) {
                return x >= 5 && x < 9 && y >= 4 && y < 8 ? kBlack : kWhite;
              }),
       8, 0},
      {"recoloured",
       remade(block(), [](int, int, std::uint32_t p) { return p == kBlack ? kRed : p; }), 16, 0},
  };
  for (const auto& c : cases) {
    PixelDifference d = comparePixels(reference, c.actual, 16);
    EXPECT_EQ(d.differing, c.differing) << c.what;
    EXPECT_EQ(d.edgeNoise, c.noise) << c.what;
  }
  EXPECT_TRUE(comparePixels(reference, RenderedImage{4, 4, std::vector<std::uint32_t>(16)}, 16)
                  .exceeds(PixelThreshold{16, 1000}));

  RenderedImage diff = differenceImage(reference, block(true), 16);
  EXPECT_EQ(diff.pixels[4 * 12 + 4], 0xffffc800);  // forgiven: yellow
  EXPECT_NE(diff.pixels[5 * 12 + 5], kRed);        // the same inside
  diff = differenceImage(reference, cases[4].actual, 16);
  EXPECT_EQ(diff.pixels[5 * 12 + 5], kRed);
  EXPECT_NE(diff.pixels[0], kRed);
}

TEST(PixelComparison, PicturesMadeToPassForEdgeNoiseAreDifferent) {
  const RenderedImage widget = drawn("TamsaWidget-small-light");
  const std::size_t all = widget.pixels.size();
  EXPECT_FALSE(comparePixels(widget, remade(widget, nearlyOpaque), 16).exceeds(kStrict));

  // Another picture, partly transparent everywhere.
  PixelDifference other =
      comparePixels(widget, remade(drawn("TamsaWidget-small-dark"), nearlyOpaque), 16);
  EXPECT_GT(other.differing, all / 2);
  // A fine checkerboard of two colours: all edges, but the widget is not.
  auto checkerboard = [](std::uint32_t a, std::uint32_t b) {
    return [=](int x, int y, std::uint32_t) { return (x + y) % 2 ? a : b; };
  };
  EXPECT_GT(comparePixels(widget, remade(widget, checkerboard(kWhite, 0xff1c1c1e)), 16).differing,
            all / 2);
  // Both all edges, each pixel within what anti-aliasing may change: too many edges changed.
  PixelDifference swapped = comparePixels(remade(widget, checkerboard(kWhite, 0xff9b9b9b)),
                                          remade(widget, checkerboard(0xff9b9b9b, kWhite)), 16);
  EXPECT_EQ(swapped.differing, all);
  // One pixel on a strong edge of the widget taking its neighbour's colour flipped: never noise.
  RenderedImage flipped = widget;
  for (std::size_t i = 0; i + 1 < all; ++i)
    if (std::abs(channel(widget.pixels[i], 2) - channel(widget.pixels[i + 1], 2)) > 200) {
      flipped.pixels[i] = widget.pixels[i + 1];
      break;
    }
  EXPECT_EQ(comparePixels(widget, flipped, 16).differing, 1u);

  // Drawn again a sixth of a pixel off: every edge moves a little, nothing a person sees. Text
  // recoloured within what each pixel's own edge allows: red, dark red, one channel darker.
  for (const RenderedImage& text : {widget, label(2)}) {
    EXPECT_FALSE(comparePixels(text, nudged(text, 1.0 / 6, 1.0 / 12), 16).exceeds(kStrict));
    EXPECT_FALSE(comparePixels(nudged(text, 1.0 / 6, 1.0 / 12), text, 16).exceeds(kStrict));
    for (auto [channels, by] :
         {std::pair<std::vector<int>, int>{{2}, 120}, {{0, 1}, -120}, {{0}, -40}}) {
      const RenderedImage attacked = recoloured(text, channels, by);
      std::size_t changed = 0;
      for (std::size_t i = 0; i < text.pixels.size(); ++i)
        changed += attacked.pixels[i] != text.pixels[i];
      EXPECT_GT(comparePixels(text, attacked, 16).differing, changed / 2) << by;
      EXPECT_GT(comparePixels(attacked, text, 16).differing, changed / 2) << by;
    }
  }
}

}  // namespace
}  // namespace drawing
