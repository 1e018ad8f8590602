// Compares two pictures of the same cell pixel by pixel, as a person looks at them (the snapshots
// and the tests' golden pictures alike): a pixel differs when a premultiplied channel, alpha
// included, differs by more than the level. Font rasterizers and their versions disagree on
// anti-aliased edges, so a difference there is excused as edge noise, but only when it looks like
// that and like nothing else: both pictures have an edge at the pixel, each with a neighbour
// contrasting at least as much as the difference (and at least kEdgeContrast), the difference is
// at most kMaxEdgeNoise, and the excused pixels stay within kMaxEdgeNoiseShare of the picture.
// Beyond that share the edges themselves changed and every one of those pixels counts, so no
// picture is excused for being all edges. Pure functions; thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>

#include "drawing/WidgetRenderer.h"

namespace drawing {

// The weakest edge that excuses anything (of 255, in any channel).
inline constexpr int kEdgeContrast = 32;
// How far (of 255, in any channel) a pixel may lie off every mix of its neighbours' colours:
// rasterizers round coverage and blend differently.
inline constexpr int kMixTolerance = 8;
// How much stronger or weaker than any mix of two neighbouring colours, as a share of their
// contrast, a pixel may be: a thin stroke drawn a quarter pixel off spreads its darkest pixel over
// two, so neither picture's peak is a mix of the other's colours. Only along the line between the
// two colours: a new hue is never excused.
inline constexpr double kMixReach = 1.0 / 3;
// A pixel that differs by more than half the range is never edge noise: it flipped, not blurred.
inline constexpr int kMaxEdgeNoise = 128;
// At most this share of a picture is excused. Drawn widgets have up to a quarter of their pixels
// on edges; moving everything a quarter pixel excuses a tenth at most.
inline constexpr double kMaxEdgeNoiseShare = 0.125;

// When pictures count as different; stored in a snapshot's manifest, where the user can set it.
struct PixelThreshold {
  int level = 16;          // a channel must differ by more than this (of 255) to count
  std::size_t pixels = 0;  // more differing pixels than this make the pictures different
  bool operator==(const PixelThreshold&) const = default;
};

struct PixelDifference {
  bool sizesDiffer = false;
  std::size_t differing = 0;  // counted differences
  std::size_t edgeNoise = 0;  // differences excused as anti-aliasing, not counted
  // More edge pixels differed than anti-aliasing explains; they are counted in `differing`.
  bool edgesChanged = false;
  bool exceeds(const PixelThreshold& t) const { return sizesDiffer || differing > t.pixels; }
};

PixelDifference comparePixels(const RenderedImage& reference, const RenderedImage& actual,
                              int level);

// A picture of the differences, the size of the larger picture: the reference faded to grey,
// counted differences in red, edge noise in yellow.
RenderedImage differenceImage(const RenderedImage& reference, const RenderedImage& actual,
                              int level);

}  // namespace drawing
