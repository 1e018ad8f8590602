// The server's workers: a fixed number of threads and a bounded queue of accepted connections.
// When the queue is full the accepting thread serves the connection itself, so it accepts no more
// until one is done and the kernel's backlog holds the rest: the connections held in memory stay
// bounded however many clients come. Thread-safe.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace host {

class BoundedTaskQueue final : public httplib::TaskQueue {
 public:
  BoundedTaskQueue(std::size_t workers, std::size_t queued);
  void enqueue(std::function<void()> job) override;
  void shutdown() override;

 private:
  void work();

  const std::size_t maxQueued_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> jobs_;
  bool shutdown_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace host
