// Compares two pictures of the same cell pixel by pixel, ignoring anti-aliasing noise: a pixel
// that differs only where either picture has an anti-aliased edge (the pixel is partly
// transparent, or a neighbour within one pixel differs from it) is not a difference, since font
// rasterizers and versions disagree exactly there. What remains is what a person sees: a filled
// area changed. Pure functions; thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/render/WidgetRenderer.h"

namespace host {

// When pictures count as different; stored in a snapshot's manifest, where the user can set it.
struct PixelThreshold {
  int level = 16;          // a channel must differ by more than this (of 255) to count
  std::size_t pixels = 0;  // more differing pixels than this make the pictures different
  bool operator==(const PixelThreshold&) const = default;
};

struct PixelDifference {
  bool sizesDiffer = false;
  std::size_t differing = 0;  // counted differences
  std::size_t edgeNoise = 0;  // differences on anti-aliased edges, not counted
  bool exceeds(const PixelThreshold& t) const { return sizesDiffer || differing > t.pixels; }
};

PixelDifference comparePixels(const render::RenderedImage& reference,
                              const render::RenderedImage& actual, int level);

// A picture of the differences, the size of the larger picture: the reference faded to grey,
// counted differences in red, edge noise in yellow.
render::RenderedImage differenceImage(const render::RenderedImage& reference,
                                      const render::RenderedImage& actual, int level);

}  // namespace host
