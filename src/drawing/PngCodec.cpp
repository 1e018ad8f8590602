#include "drawing/PngCodec.h"

#include "drawing/RowDeflater.h"

#include <libdeflate.h>
#include <spng.h>

#include <bit>
#include <memory>
#include <string>
#include <vector>

namespace drawing {
namespace {

static_assert(std::endian::native == std::endian::little,
              "rows are handed to the encoder as 32-bit words holding R, G, B, A in memory order");

struct ContextDeleter {
  void operator()(spng_ctx* c) const { spng_ctx_free(c); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

// A chunk's length is at most 2^31 - 1.
constexpr std::size_t kMaxChunkBytes = 0x7FFFFFFF;

// Premultiplied 0xAARRGGBB to R, G, B, A in memory, alpha kept, in a loop the compiler
// vectorises. Right for opaque and clear pixels; true when there are others (edges of shapes and
// glyphs), which must then be divided by their alpha.
bool toRgba(const std::uint32_t* __restrict in, std::uint32_t* __restrict out, std::size_t n) {
  std::uint32_t translucent = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t p = in[i];
    out[i] = (p & 0xFF00FF00u) | (p >> 16 & 0xFFu) | (p & 0xFFu) << 16;
    translucent |= ((p >> 24) + 1u) & 0xFEu;  // zero for alpha 0 and 255 only
  }
  return translucent != 0;
}

// A row to straight R, G, B, A, by blocks: only a block with translucent pixels is gone over
// again, pixel by pixel.
void straightRow(const std::uint32_t* in, std::uint32_t* out, std::size_t n) {
  constexpr std::size_t kBlock = 32;
  for (std::size_t begin = 0; begin < n; begin += kBlock) {
    const std::size_t end = std::min(n, begin + kBlock);
    if (!toRgba(in + begin, out + begin, end - begin)) continue;
    for (std::size_t x = begin; x < end; ++x) {
      const std::uint32_t p = in[x];
      const unsigned a = p >> 24;
      if (a == 0 || a == 255) continue;
      auto straight = [&](int shift) {
        return std::min(255u, (((p >> shift) & 0xFFu) * 255 + a / 2) / a);
      };
      out[x] = a << 24 | straight(0) << 16 | straight(8) << 8 | straight(16);
    }
  }
}

void putWord(unsigned char* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(v >> (24 - 8 * i));
}

// Appends the checksum of the chunk whose type starts at `typeAt` and runs to the end.
void appendCrc(std::string& png, std::size_t typeAt) {
  unsigned char crc[4];
  putWord(crc, libdeflate_crc32(0, png.data() + typeAt, png.size() - typeAt));
  png.append(reinterpret_cast<const char*>(crc), 4);
}

void appendChunk(std::string& png, const char* type, const unsigned char* data, std::size_t size) {
  unsigned char length[4];
  putWord(length, static_cast<std::uint32_t>(size));
  png.append(reinterpret_cast<const char*>(length), 4);
  const std::size_t typeAt = png.size();
  png.append(type, 4);
  if (size) png.append(reinterpret_cast<const char*>(data), size);
  appendCrc(png, typeAt);
}

// What the chunks beside the pixels (text, colour profiles) may hold in all; ours have none.
constexpr std::size_t kMaxAncillaryBytes = std::size_t{1} << 20;

// The big-endian 32-bit word at `at`; the caller checks that it is there.
std::uint32_t wordAt(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

base::Failure spngFailure(const char* doing, int error) {
  return base::Failure::runtime(std::string(doing) + ": " + spng_strerror(error));
}

base::Failure notPng(const char* why) {
  return base::Failure::runtime(std::string("not a PNG we can read: ") + why);
}

}  // namespace

base::Result<std::string> encodePng(const std::uint32_t* pixels, int width, int height,
                                    std::size_t stride) {
  if (width <= 0 || height <= 0)
    return base::Failure::runtime("cannot encode an empty picture as PNG");
  std::string png("\x89PNG\r\n\x1a\n", 8);
  unsigned char ihdr[13] = {};
  putWord(ihdr, static_cast<std::uint32_t>(width));
  putWord(ihdr + 4, static_cast<std::uint32_t>(height));
  ihdr[8] = 8;  // bits per channel
  ihdr[9] = 6;  // truecolour with alpha
  appendChunk(png, "IHDR", ihdr, sizeof ihdr);

  const std::size_t idat = png.size();
  png.append("\0\0\0\0IDAT", 8);
  RowDeflater deflater(png, width);
  std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* in = pixels + static_cast<std::size_t>(y) * stride;
    straightRow(in, row.data(), static_cast<std::size_t>(width));
    deflater.addRow(row.data());
  }
  deflater.finish();
  const std::size_t size = png.size() - idat - 8;
  if (size > kMaxChunkBytes)
    return base::Failure::runtime("cannot encode a picture this large as PNG");
  putWord(reinterpret_cast<unsigned char*>(png.data()) + idat, static_cast<std::uint32_t>(size));
  appendCrc(png, idat + 4);
  appendChunk(png, "IEND", nullptr, 0);
  return png;
}

base::Result<std::string> encodePng(const RenderedImage& image) {
  return encodePng(image.pixels.data(), image.width, image.height,
                   static_cast<std::size_t>(image.width));
}

base::Result<PngSize> pngSize(std::string_view bytes) {
  // The signature, then the IHDR chunk: its length (13), its type, width and height big-endian.
  static constexpr std::string_view kStart("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  if (bytes.size() < 24 || bytes.substr(0, 16) != kStart)
    return notPng("it does not start with a PNG signature and header");
  return PngSize{wordAt(bytes, 16), wordAt(bytes, 20)};
}

std::optional<std::string> colourChunk(std::string_view bytes) {
  // Each chunk: its length, its type, its data, its checksum.
  for (std::size_t at = 8; at + 8 <= bytes.size();) {
    const std::string_view type = bytes.substr(at + 4, 4);
    for (std::string_view colour : {"gAMA", "cHRM", "iCCP", "sRGB", "cICP"})
      if (type == colour) return std::string(type);
    const std::uint32_t length = wordAt(bytes, at);
    if (type == "IEND" || length > bytes.size() - at - 8) break;
    at += std::size_t{length} + 12;
  }
  return std::nullopt;
}

base::Result<RenderedImage> decodePng(std::string_view bytes, std::size_t maxPixels) {
  Context ctx(spng_ctx_new(0));
  if (!ctx) return base::Failure::runtime("cannot decode the PNG: out of memory");
  spng_set_crc_action(ctx.get(), SPNG_CRC_USE, SPNG_CRC_USE);
  // Compressed text chunks inflate as they are read: bounded, or a small file takes gigabytes.
  spng_set_chunk_limits(ctx.get(), bytes.size(), kMaxAncillaryBytes);
  spng_set_png_buffer(ctx.get(), bytes.data(), bytes.size());
  spng_ihdr ihdr{};
  if (int e = spng_get_ihdr(ctx.get(), &ihdr)) return spngFailure("not a PNG we can read", e);
  if (ihdr.width == 0 || ihdr.height == 0) return notPng("its header claims no pixels");
  if (static_cast<std::size_t>(ihdr.width) * ihdr.height > maxPixels)
    return notPng(("its header claims " + std::to_string(ihdr.width) + " × " +
                   std::to_string(ihdr.height) + " pixels, more than the " +
                   std::to_string(maxPixels) + " allowed")
                      .c_str());
  std::size_t size = 0;
  if (int e = spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &size))
    return spngFailure("not a PNG we can read", e);
  std::vector<unsigned char> rgba(size);
  if (int e = spng_decode_image(ctx.get(), rgba.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS))
    return spngFailure("not a PNG we can read", e);
  RenderedImage image;
  image.width = static_cast<int>(ihdr.width);
  image.height = static_cast<int>(ihdr.height);
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    const unsigned char* p = &rgba[i * 4];
    unsigned a = p[3];
    auto pre = [a](unsigned v) { return (v * a + 127) / 255; };
    image.pixels[i] = (a << 24) | (pre(p[0]) << 16) | (pre(p[1]) << 8) | pre(p[2]);
  }
  return image;
}

}  // namespace drawing
