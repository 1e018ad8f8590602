// A line on standard error that counts cells as they are drawn (done, per second, time left),
// rewritten in place; only when standard error is a terminal, so logs and pipes get nothing.
#pragma once

#include <chrono>
#include <cstddef>

namespace host {

class ProgressLine {
 public:
  explicit ProgressLine(std::size_t total);
  // Shows the count; redrawn at most ten times a second.
  void update(std::size_t done);
  // Shows the final count and ends the line.
  void finish(std::size_t done);

 private:
  void draw(std::size_t done);
  std::size_t total_;
  bool shown_;
  std::chrono::steady_clock::time_point start_, last_;
};

}  // namespace host
