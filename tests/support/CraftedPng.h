// A PNG that claims a size and holds no pixels: its signature and header chunk only, so that a test
// of a hostile size allocates nothing itself. Header-only.
#pragma once

#include <cstdint>
#include <string>

namespace testing_support {

inline std::string pngClaiming(std::uint32_t width, std::uint32_t height) {
  std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  for (std::uint32_t v : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((v >> shift) & 0xff);
  // 8-bit RGBA, then a CRC no one checks before the size, and no image data at all.
  return bytes + std::string("\x08\x06\0\0\0\0\0\0\0", 9);
}

// The PNG with a gamma chunk after its header: the same pixels, that viewers show in other colours.
inline std::string withGamma(const std::string& png) {
  return png.substr(0, 33) + std::string("\0\0\0\x04gAMA\0\0\xb1\x8f\0\0\0\0", 16) + png.substr(33);
}

}  // namespace testing_support
