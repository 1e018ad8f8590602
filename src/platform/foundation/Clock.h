// The clock, the one seam through which the extension learns the time (Date()). The host fixes it
// for reproducible output; tests use a fixed or stepping clock. Implementations are thread-safe.
#pragma once

#include <atomic>
#include <memory>

#include "platform/foundation/Date.h"

namespace foundation {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date now() const = 0;
};

// The machine's real-time clock.
std::shared_ptr<const Clock> systemClock();

// Always the same instant.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(Date at) : at_(at) {}
  Date now() const override { return at_; }

 private:
  Date at_;
};

// Starts at an instant and moves on by a step at every reading, so that tests can tell readings
// apart.
class SteppingClock final : public Clock {
 public:
  SteppingClock(Date start, double stepSeconds) : start_(start), step_(stepSeconds) {}
  Date now() const override {
    long n = readings_.fetch_add(1);
    return start_.addingTimeInterval(step_ * static_cast<double>(n));
  }
  long readings() const { return readings_.load(); }

 private:
  Date start_;
  double step_;
  mutable std::atomic<long> readings_{0};
};

}  // namespace foundation
