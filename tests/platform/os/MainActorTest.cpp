#include "platform/os/MainActor.h"

#include <gtest/gtest.h>

#include <atomic>

namespace os {
namespace {

// Jobs from other threads, and jobs queued by jobs, all run on the actor's thread in one drain.
TEST(MainActor, RunsJobsFromAnyThreadOnItsOwnThread) {
  MainActor actor;
  std::vector<int> order;
  std::atomic<int> offMain{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&, i] {
      actor.enqueue([&, i] {
        offMain += actor.isCurrent() ? 0 : 1;
        order.push_back(i);
        actor.enqueue([&] { order.push_back(-1); });
      });
    });
  for (auto& t : threads) t.join();
  EXPECT_TRUE(actor.drainUntil([&] { return order.size() == 8; }));
  EXPECT_EQ(offMain.load(), 0);
}

}  // namespace
}  // namespace os
