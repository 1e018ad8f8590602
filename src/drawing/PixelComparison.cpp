#include "drawing/PixelComparison.h"

#include <algorithm>
#include <cstdlib>

namespace drawing {
namespace {

// The largest difference of the four premultiplied channels; alpha is one of them, so a picture
// made partly transparent differs as much as it looks.
int channelDifference(std::uint32_t a, std::uint32_t b) {
  int most = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    int d = static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff);
    most = std::max(most, std::abs(d));
  }
  return most;
}

// The strongest contrast between (x, y) and a neighbour within one pixel: how much of an edge the
// pixel is on.
int edgeContrast(const RenderedImage& image, int x, int y) {
  const std::uint32_t* px = image.pixels.data();
  const std::uint32_t p = px[static_cast<std::size_t>(y) * image.width + x];
  int most = 0;
  for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, image.height - 1); ++ny)
    for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, image.width - 1); ++nx)
      most =
          std::max(most, channelDifference(px[static_cast<std::size_t>(ny) * image.width + nx], p));
  return most;
}

// Whether p is, within kMixTolerance in every channel, a mix of two colours found within one pixel
// of (x, y) in `image` (a colour with itself included): what anti-aliasing makes of an edge there,
// drawn a little further one way or the other. A mix of two colours stays on the line between
// them, so a new hue or a shade beyond both is no mix, even where every channel alone would lie
// within the neighbours' range.
bool mixOfNeighbours(std::uint32_t p, const RenderedImage& image, int x, int y) {
  std::uint32_t colours[9];
  int n = 0;
  for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, image.height - 1); ++ny)
    for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, image.width - 1); ++nx) {
      std::uint32_t c = image.pixels[static_cast<std::size_t>(ny) * image.width + nx];
      if (std::find(colours, colours + n, c) == colours + n) colours[n++] = c;
    }
  auto at = [](std::uint32_t c, int channel) {
    return static_cast<double>((c >> (8 * channel)) & 0xff);
  };
  for (int i = 0; i < n; ++i)
    for (int j = i; j < n; ++j) {
      // The point of the line from colours[i] to colours[j] nearest to p.
      double along = 0, length = 0;
      for (int c = 0; c < 4; ++c) {
        double d = at(colours[j], c) - at(colours[i], c);
        along += (at(p, c) - at(colours[i], c)) * d;
        length += d * d;
      }
      const double t = length > 0 ? std::clamp(along / length, -kMixReach, 1 + kMixReach) : 0.0;
      bool near = true;
      for (int c = 0; c < 4 && near; ++c)
        near = std::abs(at(p, c) - (at(colours[i], c) +
                                    t * (at(colours[j], c) - at(colours[i], c)))) <= kMixTolerance;
      if (near) return true;
    }
  return false;
}

// What one pixel is on its own; whether edge noise is excused depends on the whole picture.
enum class PixelVerdict { same, edgeNoise, different };

PixelVerdict verdict(const RenderedImage& a, const RenderedImage& b, int x, int y, int level) {
  std::size_t i = static_cast<std::size_t>(y) * a.width + x;
  int d = channelDifference(a.pixels[i], b.pixels[i]);
  if (d <= level) return PixelVerdict::same;
  // An edge explains a difference no larger than its own contrast, and only as another mix of the
  // colours on either side of it.
  const int edge = std::max(d, kEdgeContrast);
  if (d <= kMaxEdgeNoise && edgeContrast(a, x, y) >= edge && edgeContrast(b, x, y) >= edge &&
      mixOfNeighbours(a.pixels[i], b, x, y) && mixOfNeighbours(b.pixels[i], a, x, y))
    return PixelVerdict::edgeNoise;
  return PixelVerdict::different;
}

bool sameSize(const RenderedImage& a, const RenderedImage& b) {
  return a.width == b.width && a.height == b.height &&
         a.pixels.size() == static_cast<std::size_t>(a.width) * a.height &&
         b.pixels.size() == a.pixels.size();
}

}  // namespace

PixelDifference comparePixels(const RenderedImage& reference, const RenderedImage& actual,
                              int level) {
  PixelDifference d;
  if (!sameSize(reference, actual)) {
    d.sizesDiffer = true;
    return d;
  }
  for (int y = 0; y < reference.height; ++y) {
    for (int x = 0; x < reference.width; ++x) {
      switch (verdict(reference, actual, x, y, level)) {
        case PixelVerdict::same:
          break;
        case PixelVerdict::edgeNoise:
          ++d.edgeNoise;
          break;
        case PixelVerdict::different:
          ++d.differing;
          break;
      }
    }
  }
  if (static_cast<double>(d.edgeNoise) >
      kMaxEdgeNoiseShare * static_cast<double>(reference.pixels.size())) {
    d.differing += d.edgeNoise;
    d.edgeNoise = 0;
    d.edgesChanged = true;
  }
  return d;
}

RenderedImage differenceImage(const RenderedImage& reference, const RenderedImage& actual,
                              int level) {
  RenderedImage out;
  out.width = std::max(reference.width, actual.width);
  out.height = std::max(reference.height, actual.height);
  out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 0xffff0000u);
  const bool comparable = sameSize(reference, actual);
  const bool edgesChanged = comparable && comparePixels(reference, actual, level).edgesChanged;
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      std::uint32_t& o = out.pixels[static_cast<std::size_t>(y) * out.width + x];
      if (x >= reference.width || y >= reference.height) continue;  // stays red
      std::uint32_t p = reference.pixels[static_cast<std::size_t>(y) * reference.width + x];
      // Grey from the luminance over white, faded so the differences stand out.
      int a = static_cast<int>(p >> 24);
      int lum = (((p >> 16) & 0xff) * 3 + ((p >> 8) & 0xff) * 6 + (p & 0xff)) / 10 + (255 - a);
      std::uint32_t grey = static_cast<std::uint32_t>(255 - (255 - std::min(lum, 255)) / 4);
      o = 0xff000000u | grey << 16 | grey << 8 | grey;
      if (!comparable) {
        if (x >= actual.width || y >= actual.height) o = 0xffff0000u;
        continue;
      }
      switch (verdict(reference, actual, x, y, level)) {
        case PixelVerdict::same:
          break;
        case PixelVerdict::edgeNoise:
          o = edgesChanged ? 0xffff0000u : 0xffffc800u;
          break;
        case PixelVerdict::different:
          o = 0xffff0000u;
          break;
      }
    }
  }
  return out;
}

}  // namespace drawing
