// The zlib stream of a PNG's unfiltered rows of 8-bit RGBA pixels, written for speed rather than
// size. A widget is mostly runs of one colour and rows like the row above, so each pixel either
// continues a run of its left neighbour, copies the pixel above, or is written as four literal
// bytes, in one block of the format's fixed codes: about five times as fast as the fastest
// general compressor on these pictures, for files about one and a half times as large.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace drawing {

class RowDeflater {
 public:
  // Appends the stream to `out`; rows are `width` pixels wide.
  RowDeflater(std::string& out, int width);

  // The next row: `width` pixels, each four bytes R, G, B, A in memory order.
  void addRow(const std::uint32_t* pixels);
  // Ends the stream; no row may follow.
  void finish();

 private:
  void put(std::uint32_t bits, std::uint32_t count);
  void literal(unsigned byte);
  void literals(unsigned first, unsigned second);
  void copy(std::size_t bytes, std::uint32_t distanceBits, std::uint32_t distanceLength);
  void reserve(std::size_t bytes);

  std::string& out_;
  std::size_t used_;
  int width_;
  std::size_t rowBytes_;  // the filter byte and the pixels
  bool copiesAbove_;      // the row above is near enough for a copy
  std::uint32_t leftBits_ = 0, leftLength_ = 0, aboveBits_ = 0, aboveLength_ = 0;
  std::vector<std::uint32_t> above_;
  bool first_ = true;
  std::uint64_t pending_ = 0;
  std::uint32_t pendingBits_ = 0;
  std::uint32_t adler_ = 1;
};

}  // namespace drawing
