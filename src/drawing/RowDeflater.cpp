#include "drawing/RowDeflater.h"

#include <libdeflate.h>

#include <array>
#include <bit>
#include <cstring>

namespace drawing {
namespace {

static_assert(std::endian::native == std::endian::little, "the bit stream is stored word by word");

constexpr std::size_t kMaxDistance = 32768, kMaxCopy = 258;

constexpr std::uint32_t reversed(std::uint32_t v, std::uint32_t bits) {
  std::uint32_t r = 0;
  for (std::uint32_t i = 0; i < bits; ++i) r |= ((v >> i) & 1) << (bits - 1 - i);
  return r;
}

struct Code {
  std::uint32_t bits = 0, length = 0;  // ready to write: least significant bit first
};

// The fixed codes, and each copy length's code with its extra bits.
struct FixedCodes {
  std::array<Code, 288> symbol;
  std::array<Code, kMaxCopy + 1> copyLength;

  constexpr FixedCodes() {
    for (std::uint32_t v = 0; v < 288; ++v) {
      if (v < 144)
        symbol[v] = {reversed(0x30 + v, 8), 8};
      else if (v < 256)
        symbol[v] = {reversed(0x190 + v - 144, 9), 9};
      else if (v < 280)
        symbol[v] = {reversed(v - 256, 7), 7};
      else
        symbol[v] = {reversed(0xC0 + v - 280, 8), 8};
    }
    constexpr std::uint32_t base[] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                      15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                      67, 83, 99, 115, 131, 163, 195, 227, 258};
    constexpr std::uint32_t extra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    for (std::uint32_t n = 3; n <= kMaxCopy; ++n) {
      std::uint32_t s = 28;
      while (base[s] > n) --s;
      const Code c = symbol[257 + s];
      copyLength[n] = {c.bits | (n - base[s]) << c.length, c.length + extra[s]};
    }
  }
};
constexpr FixedCodes kCodes;

Code distanceCode(std::uint32_t distance) {
  constexpr std::uint32_t base[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                    33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  std::uint32_t s = 29;
  while (base[s] > distance) --s;
  const std::uint32_t extra = s < 4 ? 0 : s / 2 - 1;
  return {reversed(s, 5) | (distance - base[s]) << 5, 5 + extra};
}

}  // namespace

// Inlined: it runs once or twice a pixel.
[[gnu::always_inline]] inline void RowDeflater::put(std::uint32_t bits, std::uint32_t count) {
  pending_ |= std::uint64_t{bits} << pendingBits_;
  pendingBits_ += count;
  if (pendingBits_ >= 32) {
    const auto word = static_cast<std::uint32_t>(pending_);  // its bytes in stream order
    std::memcpy(out_.data() + used_, &word, 4);
    used_ += 4;
    pending_ >>= 32;
    pendingBits_ -= 32;
  }
}

RowDeflater::RowDeflater(std::string& out, int width)
    : out_(out),
      used_(out.size()),
      width_(width),
      rowBytes_(1 + std::size_t(width) * 4),
      copiesAbove_(rowBytes_ <= kMaxDistance),
      above_(std::size_t(width)) {
  const Code left = distanceCode(4);
  leftBits_ = left.bits, leftLength_ = left.length;
  if (copiesAbove_) {
    const Code above = distanceCode(static_cast<std::uint32_t>(rowBytes_));
    aboveBits_ = above.bits, aboveLength_ = above.length;
  }
  reserve(16);
  out_[used_++] = 0x78, out_[used_++] = 0x01;  // deflate, 32K window, no dictionary
  put(0b011, 3);                               // the last block, with the fixed codes
}

void RowDeflater::reserve(std::size_t bytes) {
  if (used_ + bytes > out_.size()) out_.resize(std::max(out_.size() * 2, used_ + bytes));
}

void RowDeflater::literal(unsigned byte) {
  put(kCodes.symbol[byte].bits, kCodes.symbol[byte].length);
}

void RowDeflater::literals(unsigned first, unsigned second) {
  const Code a = kCodes.symbol[first], b = kCodes.symbol[second];
  put(a.bits | b.bits << a.length, a.length + b.length);  // at most 18 bits
}

void RowDeflater::copy(std::size_t bytes, std::uint32_t distanceBits,
                       std::uint32_t distanceLength) {
  while (bytes > 0) {
    // Never leave fewer than three bytes, the shortest copy.
    std::size_t n = bytes <= kMaxCopy ? bytes : bytes - kMaxCopy < 3 ? bytes - 3 : kMaxCopy;
    put(kCodes.copyLength[n].bits, kCodes.copyLength[n].length);
    put(distanceBits, distanceLength);
    bytes -= n;
  }
}

void RowDeflater::addRow(const std::uint32_t* row) {
  const std::size_t pixelBytes = std::size_t(width_) * 4;
  // At most nine bits a byte, and a copy's few bytes for the rest.
  reserve(rowBytes_ + rowBytes_ / 8 + 16);
  const unsigned char filterNone = 0;
  adler_ = libdeflate_adler32(adler_, &filterNone, 1);
  adler_ = libdeflate_adler32(adler_, row, pixelBytes);
  const std::uint32_t* above = above_.data();
  const bool hasAbove = !first_ && copiesAbove_;
  if (hasAbove && std::memcmp(row, above, pixelBytes) == 0) {
    copy(rowBytes_, aboveBits_, aboveLength_);  // its filter byte and all its pixels
    return;
  }
  literal(filterNone);
  for (int x = 0; x < width_;) {
    int left = 0, up = 0;
    if (hasAbove)
      while (x + up < width_ && row[x + up] == above[x + up]) ++up;
    if (x > 0 && x + up < width_)  // a copy from above to the row's end is as long as any
      while (x + left < width_ && row[x + left] == row[x - 1]) ++left;
    if (left == 0 && up == 0) {
      const auto* bytes = reinterpret_cast<const unsigned char*>(row + x);
      literals(bytes[0], bytes[1]);
      literals(bytes[2], bytes[3]);
      ++x;
    } else if (left >= up) {
      copy(std::size_t(left) * 4, leftBits_, leftLength_);
      x += left;
    } else {
      copy(std::size_t(up) * 4, aboveBits_, aboveLength_);
      x += up;
    }
  }
  std::memcpy(above_.data(), row, pixelBytes);
  first_ = false;
}

void RowDeflater::finish() {
  reserve(16);
  literal(256);  // the end of the block
  for (; pendingBits_ > 0; pendingBits_ = pendingBits_ >= 8 ? pendingBits_ - 8 : 0) {
    out_[used_++] = static_cast<char>(pending_);
    pending_ >>= 8;
  }
  for (int shift = 24; shift >= 0; shift -= 8) out_[used_++] = static_cast<char>(adler_ >> shift);
  out_.resize(used_);
}

}  // namespace drawing
