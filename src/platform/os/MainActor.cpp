#include "platform/os/MainActor.h"

namespace os {

void MainActor::enqueue(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  queued_.notify_all();
}

bool MainActor::drainUntil(const std::function<bool()>& done) {
  if (!isCurrent()) return false;
  while (!done()) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      queued_.wait(lock, [&] { return !jobs_.empty(); });
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
  return true;
}

bool MainActor::drain() {
  if (!isCurrent()) return false;
  for (;;) {
    std::function<void()> job;
    {
      std::lock_guard lock(mutex_);
      if (jobs_.empty()) return true;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
}

}  // namespace os
