// PNGs round-trip the renderer's premultiplied pixels (within rounding), and hostile bytes,
// sizes or compressed text are refused rather than decoded.
#include "drawing/PngCodec.h"

#include <gtest/gtest.h>
#include <libdeflate.h>

#include "support/CraftedPng.h"

namespace drawing {
namespace {

// A PNG of `image` with a zTXt chunk that inflates to `inflated` zero bytes: fixed-Huffman copies
// of 258 bytes, two bytes each, so the test never holds the inflated text itself.
std::string withTextBomb(const std::string& png, std::size_t inflated) {
  std::string deflated;
  unsigned pending = 0;
  int used = 0;
  auto code = [&](unsigned value, int bits) {  // most significant bit first, packed from bit 0
    for (int i = bits - 1; i >= 0; --i) {
      pending |= ((value >> i) & 1) << used;
      if (++used == 8) deflated += static_cast<char>(pending), pending = 0, used = 0;
    }
  };
  code(0b110, 3);  // the final block, of fixed codes
  code(0x30, 8);   // a zero byte
  std::size_t made = 1;
  for (; made + 258 <= inflated; made += 258) code(0xC5, 8), code(0, 5);  // 258 more, 1 back
  code(0, 7);                                                             // end of block
  if (used) deflated += static_cast<char>(pending);
  const std::uint32_t adler = static_cast<std::uint32_t>(made % 65521) << 16 | 1;
  std::string data = std::string("Comment\0\0\x78\x01", 11) + deflated;
  for (int shift = 24; shift >= 0; shift -= 8) data += static_cast<char>(adler >> shift);
  std::string chunk;
  for (int shift = 24; shift >= 0; shift -= 8) chunk += static_cast<char>(data.size() >> shift);
  chunk += "zTXt" + data + std::string(4, '\0');      // the checksum is not checked
  return png.substr(0, 33) + chunk + png.substr(33);  // after the signature and header
}

TEST(PngCodec, RoundTripsPremultipliedPixelsAndRefusesWhatItCannotTrust) {
  RenderedImage image{
      3, 2, {0xFF336699u, 0x00000000u, 0x80402010u, 0x40100804u, 0xFFFFFFFFu, 0x01010101u}};
  auto png = encodePng(image);
  ASSERT_TRUE(png);
  auto back = decodePng(*png);
  ASSERT_TRUE(back && back->width == 3 && back->height == 2);
  for (int i = 0; i < 6; ++i) {
    auto a = image.at(i % 3, i / 3), b = back->at(i % 3, i / 3);
    EXPECT_EQ(a.alpha, b.alpha) << i;
    EXPECT_NEAR(a.red, b.red, 2) << i;
    EXPECT_NEAR(a.blue, b.blue, 2) << i;
  }
  EXPECT_FALSE(decodePng(*png, 5));  // more pixels than allowed
  // A header claiming ten billion pixels is refused before anything is allocated, with the size.
  std::string huge = *png;
  for (std::size_t at : {16, 20}) huge.replace(at, 4, std::string("\x00\x01\x86\xA0", 4));
  EXPECT_EQ(pngSize(huge)->width, 100000u);
  auto refused = decodePng(huge);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.failure().message.find("100000 × 100000"), std::string::npos)
      << refused.failure().message;
  EXPECT_FALSE(pngSize("\x89PNG"));
  EXPECT_FALSE(decodePng(png->substr(0, png->size() / 2)));
  EXPECT_FALSE(decodePng("not a png"));
  // Sixteen megabytes of text in some kilobytes of file.
  std::string bomb = withTextBomb(*png, std::size_t{16} << 20);
  EXPECT_LT(bomb.size(), std::size_t{128} << 10);
  EXPECT_FALSE(decodePng(bomb));
  EXPECT_TRUE(decodePng(withTextBomb(*png, 1000)));

  // A gamma chunk makes viewers show other colours; text does not.
  const std::string gamma = testing_support::withGamma(*png);
  EXPECT_EQ(colourChunk(gamma), "gAMA");
  EXPECT_EQ(colourChunk(bomb), std::nullopt);
  EXPECT_EQ(colourChunk(gamma.substr(0, 40)), std::nullopt);
}

// Every chunk's checksum right, and the pixel data a whole zlib stream of exactly the rows, its
// own checksum right: what the decoder (which forgives both) would not tell.
bool strictlyValid(const std::string& png, int width, int height) {
  auto word = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(png[at + i]);
    return v;
  };
  std::string data;
  std::size_t at = 8;
  for (; at + 12 <= png.size(); at += 12 + word(at)) {
    const std::uint32_t length = word(at);
    if (length > png.size() - at - 12) return false;
    if (libdeflate_crc32(0, png.data() + at + 4, length + 4) != word(at + 8 + length)) return false;
    if (png.compare(at + 4, 4, "IDAT") == 0) data += png.substr(at + 8, length);
  }
  std::vector<char> rows(std::size_t(height) * (1 + 4 * std::size_t(width)));
  libdeflate_decompressor* d = libdeflate_alloc_decompressor();
  const bool whole = libdeflate_zlib_decompress(d, data.data(), data.size(), rows.data(),
                                                rows.size(), nullptr) == LIBDEFLATE_SUCCESS;
  libdeflate_free_decompressor(d);
  return at == png.size() && whole;
}

// The encoder copies runs from the left and rows from above: every kind of row must come back
// exactly, at widths where a row is too far back to copy from, and with runs longer than one copy.
TEST(PngCodec, EncodesRunsCopiesAndNoiseExactly) {
  std::uint32_t seed = 7;
  auto noise = [&] { return seed = seed * 1664525u + 1013904223u; };
  // 129: a row of 517 bytes, two copies and one byte; 66 alike: a copy of 260 bytes, 258 and 2.
  for (int width : {1, 3, 129, 700, 8191, 8192, 9000}) {
    RenderedImage image{width, 7, {}};
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < width; ++x) {
        std::uint32_t p = 0xFF000000u | (noise() >> 8);
        if (y == 1 || y == 2)
          p = image.pixels[std::size_t(x)];  // rows as above
        else if (y == 3)
          p = x < 66 ? 0xFF336699u : 0xFF336699u + 1;  // two long runs
        else if (y == 4 && x % 5)
          p = image.pixels.back();  // short runs
        else if (y == 5 && x % 3 == 0)
          p = 0;  // transparent
        image.pixels.push_back(p);
      }
    auto png = encodePng(image);
    ASSERT_TRUE(png) << width;
    EXPECT_TRUE(strictlyValid(*png, width, image.height)) << width;
    auto back = decodePng(*png);
    ASSERT_TRUE(back) << width << ": " << back.failure().message;
    EXPECT_EQ(back->pixels, image.pixels) << width;
  }
}

}  // namespace
}  // namespace drawing
