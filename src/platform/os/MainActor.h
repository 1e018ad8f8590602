// The main actor: a serial executor bound to the thread that made it (the host's main thread).
// Any thread may enqueue a job; only the owning thread runs them, in order, when it drains the
// queue. Enqueueing and isCurrent are thread-safe.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace os {

class MainActor {
 public:
  MainActor() : owner_(std::this_thread::get_id()) {}
  MainActor(const MainActor&) = delete;
  MainActor& operator=(const MainActor&) = delete;

  // True on the thread that owns this actor.
  bool isCurrent() const { return std::this_thread::get_id() == owner_; }

  void enqueue(std::function<void()> job);

  // On the owning thread: runs jobs as they come until done() holds after a job (or before the
  // first). Returns false, running nothing, when called from another thread.
  bool drainUntil(const std::function<bool()>& done);
  // On the owning thread: runs the jobs queued now and those they queue, then returns.
  bool drain();

 private:
  std::thread::id owner_;
  std::mutex mutex_;
  std::condition_variable queued_;
  std::deque<std::function<void()>> jobs_;
};

}  // namespace os
