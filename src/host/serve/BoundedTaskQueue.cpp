#include "host/serve/BoundedTaskQueue.h"

namespace host {

BoundedTaskQueue::BoundedTaskQueue(std::size_t workers, std::size_t queued) : maxQueued_(queued) {
  for (std::size_t i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
}

void BoundedTaskQueue::enqueue(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    if (jobs_.size() < maxQueued_) {
      jobs_.push_back(std::move(job));
      ready_.notify_one();
      return;
    }
  }
  job();
}

void BoundedTaskQueue::shutdown() {
  {
    std::lock_guard lock(mutex_);
    shutdown_ = true;
  }
  ready_.notify_all();
  for (auto& t : threads_) t.join();
}

void BoundedTaskQueue::work() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [&] { return !jobs_.empty() || shutdown_; });
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
}

}  // namespace host
