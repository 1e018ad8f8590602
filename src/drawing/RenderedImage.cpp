#include "drawing/RenderedImage.h"

#include <algorithm>

namespace drawing {

RenderedImage::Pixel RenderedImage::at(int x, int y) const {
  std::uint32_t p = pixels.at(static_cast<std::size_t>(y) * width + x);
  int a = static_cast<int>(p >> 24);
  auto straight = [&](int shift) {
    int v = static_cast<int>((p >> shift) & 0xFF);
    return a == 0 ? 0 : std::min(255, (v * 255 + a / 2) / a);
  };
  return {straight(16), straight(8), straight(0), a};
}

}  // namespace drawing
