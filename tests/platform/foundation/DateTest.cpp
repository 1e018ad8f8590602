#include "platform/foundation/Date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "platform/foundation/Once.h"

namespace foundation {
namespace {

TEST(Iso8601, WritesUtcWithMilliseconds) {
  EXPECT_EQ(iso8601(Date{0}), "1970-01-01T00:00:00.000Z");
  EXPECT_EQ(iso8601(Date{1700000000}), "2023-11-14T22:13:20.000Z");
  EXPECT_EQ(iso8601(Date{1700000000.2509}), "2023-11-14T22:13:20.250Z");
  EXPECT_EQ(iso8601(Date{-0.001}), "1969-12-31T23:59:59.999Z");
  EXPECT_EQ(iso8601(Date{951782400}), "2000-02-29T00:00:00.000Z");
}

TEST(Iso8601, NeverOverflowsOnFarOrNonFiniteDates) {
  for (double s : {1e300, -1e300, 1e17, std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::quiet_NaN()})
    EXPECT_FALSE(iso8601(Date{s}).empty());
}

TEST(ParseIso8601, ReadsZonesAndFractions) {
  EXPECT_EQ(parseIso8601("2026-01-01T09:00:00Z"), Date{1767258000});
  EXPECT_EQ(parseIso8601("2026-01-01T10:00:00+01:00"), Date{1767258000});
  EXPECT_EQ(parseIso8601("2026-01-01T04:00:00-0500"), Date{1767258000});
  EXPECT_EQ(parseIso8601("2026-01-01T09:00:00.250Z"), Date{1767258000.25});
  EXPECT_EQ(parseIso8601("2026-01-01T09:00Z"), Date{1767258000});
}

TEST(ParseIso8601, RejectsWhatIsNotATime) {
  for (const char* text : {"", "tomorrow", "2026-01-01", "2026-01-01T09:00:00",
                           "2026-02-30T00:00:00Z", "2026-13-01T00:00:00Z", "2026-01-01T24:00:00Z",
                           "2026-01-01T09:00:00+25:00", "2026-01-01T09:00:00Zjunk"})
    EXPECT_EQ(parseIso8601(text), std::nullopt) << text;
}

TEST(Once, ConcurrentFirstUsesBuildOnce) {
  Once<int> once;
  std::atomic<int> builds{0};
  std::vector<std::thread> threads;
  std::vector<const int*> seen(8);
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&, i] {
      seen[i] = &once.get([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return ++builds;
      });
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(builds.load(), 1);
  for (auto* p : seen) EXPECT_EQ(p, seen[0]);
}

}  // namespace
}  // namespace foundation
