// Pixels as drawn, row by row, each 0xAARRGGBB with premultiplied alpha (Cairo's ARGB32).
#pragma once

#include <cstdint>
#include <vector>

namespace drawing {

struct RenderedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  // Straight (not premultiplied) components 0...255 of the pixel at column x, row y.
  struct Pixel {
    int red, green, blue, alpha;
    bool operator==(const Pixel&) const = default;
  };
  Pixel at(int x, int y) const;
  // Not empty, and holding a pixel for every place its size names.
  bool whole() const {
    return width > 0 && height > 0 &&
           pixels.size() >= static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  }
  bool operator==(const RenderedImage&) const = default;
};

}  // namespace drawing
