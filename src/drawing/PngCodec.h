// PNG encoding of drawn pixels, decoding with libspng. Encoding favours speed over size: the
// gallery and snapshots write thousands of pictures (see RowDeflater).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "drawing/WidgetRenderer.h"

namespace drawing {

// The PNG's bytes (8-bit RGBA, straight alpha); a failure when it is too large for a PNG.
base::Result<std::string> encodePng(const RenderedImage& image);
// The same from premultiplied 0xAARRGGBB pixels in rows `stride` pixels apart (a Cairo image).
base::Result<std::string> encodePng(const std::uint32_t* pixels, int width, int height,
                                    std::size_t stride);

// The size a PNG's header claims, read without decoding anything: a file from elsewhere is judged
// by it before its pixels are allocated. A failure when the bytes do not start as a PNG.
struct PngSize {
  std::uint32_t width = 0, height = 0;
  bool operator==(const PngSize&) const = default;
};
base::Result<PngSize> pngSize(std::string_view bytes);

// The first chunk that changes how a viewer shows a PNG's colours (gamma, chromaticities, a colour
// profile or colour space), which we never write; nothing when it has none.
std::optional<std::string> colourChunk(std::string_view bytes);

// The pixels of a PNG of any colour type; a failure saying why when the bytes are not a PNG, it
// is larger than maxPixels, or its other chunks inflate to more than a megabyte (a hostile file
// cannot make us allocate gigabytes).
base::Result<RenderedImage> decodePng(std::string_view bytes,
                                      std::size_t maxPixels = std::size_t{1} << 26);

}  // namespace drawing
