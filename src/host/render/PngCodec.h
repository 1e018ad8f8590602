// PNG encoding and decoding of drawn pixels with libspng. Encoding favours speed over size: the
// gallery and snapshots write hundreds of pictures, and a widget's flat colours compress well
// even at a low level with one simple filter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/render/WidgetRenderer.h"

namespace render {

// The PNG's bytes (8-bit RGBA, straight alpha); nothing when libspng fails.
std::optional<std::string> encodePng(const RenderedImage& image);
// The same from premultiplied 0xAARRGGBB pixels in rows `stride` pixels apart (a Cairo image).
std::optional<std::string> encodePng(const std::uint32_t* pixels, int width, int height,
                                     std::size_t stride);

// The pixels of a PNG of any colour type; nothing when the bytes are not a PNG or it is larger
// than maxPixels (a hostile file cannot make us allocate gigabytes).
std::optional<RenderedImage> decodePng(std::string_view bytes,
                                       std::size_t maxPixels = std::size_t{1} << 26);

}  // namespace render
