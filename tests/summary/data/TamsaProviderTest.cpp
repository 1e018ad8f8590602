#include "summary/data/TamsaProvider.h"

#include <gtest/gtest.h>

#include "summary/data/SummaryLoader.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

// Each completion comes exactly once: the answers are collected and counted.
TEST(TamsaProvider, AnswersFromTheStoreTheSampleOrTheFallbackReloadingAnHourLater) {
  testing_support::TestDevice t;
  t.withStore({{"widget_balance", testing_support::Real{7}}});
  // 00:30 UTC is 01:30 in Berlin, half an hour before clocks go forward: still 3600 s later.
  t.at(*foundation::parseIso8601("2026-03-29T00:30:00Z"));
  for (auto d : {t.device(), t.withoutContainer().device()}) {
    d.timeZoneIdentifier = "Europe/Berlin";
    std::vector<TamsaSummaryEntry> snapshots;
    std::vector<widgetkit::Timeline<TamsaSummaryEntry>> timelines;
    TamsaProvider{}.getSnapshot({d}, [&](auto e) { snapshots.push_back(e); });
    TamsaProvider{}.getSnapshot({d, true}, [&](auto e) { snapshots.push_back(e); });
    TamsaProvider{}.getTimeline({d}, [&](auto tl) { timelines.push_back(tl); });
    auto stored = d.appGroupContainer == testing_support::kContainer
                      ? loadSummaryEntry(d)
                      : fallbackSummaryEntry(d.now());
    EXPECT_EQ(snapshots, (std::vector{stored, sampleSummaryEntry(*d.clock)}));
    ASSERT_EQ(timelines.size(), 1u);
    EXPECT_EQ(timelines[0].entries, std::vector{stored});
    EXPECT_EQ(timelines[0].policy,
              widgetkit::TimelineReloadPolicy::after(d.now().addingTimeInterval(3600)));
  }
}

TEST(TamsaProvider, PlaceholderIsTheSampleNeverReadsTheStoreAndKeepsItsDate) {
  auto t = testing_support::TestDevice().withStoreBytes("garbage");
  auto first = TamsaProvider{}.placeholder({t.device()});
  EXPECT_EQ(first.balance, 2350);
  EXPECT_EQ(TamsaProvider{}.placeholder({t.at(foundation::Date{4e9}).device()}).date, first.date);
}

}  // namespace
}  // namespace tamsa
