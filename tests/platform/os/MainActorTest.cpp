#include "platform/os/MainActor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace os {
namespace {

TEST(MainActor, RunsJobsFromAnyThreadOnItsOwnThreadInOrder) {
  MainActor actor;
  std::vector<int> order;
  std::atomic<int> offMain{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&, i] {
      actor.enqueue([&, i] {
        if (!actor.isCurrent()) ++offMain;
        order.push_back(i);
      });
    });
  for (auto& t : threads) t.join();
  EXPECT_TRUE(actor.drainUntil([&] { return order.size() == 4; }));
  EXPECT_EQ(offMain.load(), 0);
}

TEST(MainActor, JobsQueuedByJobsRunInTheSameDrain) {
  MainActor actor;
  int runs = 0;
  actor.enqueue([&] {
    ++runs;
    actor.enqueue([&] { ++runs; });
  });
  actor.drain();
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace os
