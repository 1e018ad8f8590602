#include "host/snapshot/PixelComparison.h"

#include <algorithm>
#include <cstdlib>

namespace host {
namespace {

using render::RenderedImage;

// Premultiplied components compare as they look over black, which is all a threshold needs.
bool near(std::uint32_t a, std::uint32_t b, int level) {
  for (int shift = 0; shift < 32; shift += 8) {
    int d = static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff);
    if (std::abs(d) > level) return false;
  }
  return true;
}

// True when (x, y) lies on an anti-aliased edge of the picture.
bool onEdge(const RenderedImage& image, int x, int y, int level) {
  const std::uint32_t* px = image.pixels.data();
  const std::uint32_t p = px[static_cast<std::size_t>(y) * image.width + x];
  const std::uint32_t alpha = p >> 24;
  if (alpha != 0 && alpha != 255) return true;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      int nx = x + dx, ny = y + dy;
      if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= image.width || ny >= image.height)
        continue;
      if (!near(px[static_cast<std::size_t>(ny) * image.width + nx], p, level)) return true;
    }
  }
  return false;
}

enum class PixelVerdict { same, edgeNoise, different };

PixelVerdict verdict(const RenderedImage& a, const RenderedImage& b, int x, int y, int level) {
  std::size_t i = static_cast<std::size_t>(y) * a.width + x;
  if (a.pixels[i] == b.pixels[i] || near(a.pixels[i], b.pixels[i], level))
    return PixelVerdict::same;
  if (onEdge(a, x, y, level) || onEdge(b, x, y, level)) return PixelVerdict::edgeNoise;
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
  return d;
}

RenderedImage differenceImage(const RenderedImage& reference, const RenderedImage& actual,
                              int level) {
  RenderedImage out;
  out.width = std::max(reference.width, actual.width);
  out.height = std::max(reference.height, actual.height);
  out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 0xffff0000u);
  const bool comparable = sameSize(reference, actual);
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
          o = 0xffffc800u;
          break;
        case PixelVerdict::different:
          o = 0xffff0000u;
          break;
      }
    }
  }
  return out;
}

}  // namespace host
