// Runs a cleanup when the process is interrupted (SIGINT, SIGTERM or SIGHUP, unless ignored), then
// ends the process as the signal would have, so a shell sees 130, 143 or 129. (SIGQUIT is left to
// dump core.) While a watch lives, the signals are blocked
// in the thread that made it and in every thread made after it, and one thread of the watch's own
// waits for them: no handler runs at an arbitrary point, so the cleanup may lock and allocate.
// Make a watch before any thread that should not take the signals, and destroy it on the thread
// that made it (the mask is that thread's); one watch at a time per process.
#pragma once

#include <signal.h>

#include <functional>
#include <thread>

namespace host {

class InterruptWatch {
 public:
  explicit InterruptWatch(std::function<void()> cleanup);
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;
  // Stops watching and restores the signal mask: a signal that came since ends the process now.
  ~InterruptWatch();

 private:
  void watch(const std::function<void()>& cleanup) const;

  sigset_t previous_{};
  int signals_ = -1, stop_ = -1;
  std::thread thread_;
};

}  // namespace host
