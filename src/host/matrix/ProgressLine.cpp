#include "host/matrix/ProgressLine.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>

namespace host {

ProgressLine::ProgressLine(std::size_t total)
    : total_(total),
      shown_(::isatty(STDERR_FILENO) == 1),
      start_(std::chrono::steady_clock::now()),
      last_(start_) {}

void ProgressLine::update(std::size_t done) {
  if (!shown_) return;
  auto now = std::chrono::steady_clock::now();
  if (now - last_ < std::chrono::milliseconds(100)) return;
  last_ = now;
  draw(done);
}

void ProgressLine::finish(std::size_t done) {
  if (!shown_) return;
  draw(done);
  std::fputc('\n', stderr);
}

void ProgressLine::draw(std::size_t done) {
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  double rate = seconds > 0 ? done / seconds : 0;
  std::fprintf(stderr, "\r\x1b[K%zu/%zu cells · %.0f/s", done, total_, rate);
  if (rate > 0 && done < total_)
    std::fprintf(stderr, " · %.0f s left", std::ceil((total_ - done) / rate));
  std::fflush(stderr);
}

}  // namespace host
