#include "summary/data/TamsaProvider.h"

#include <gtest/gtest.h>

#include "summary/data/SummaryLoader.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using testing_support::Real;
using testing_support::TestDevice;

TestDevice signedIn() {
  TestDevice t;
  t.withTable("en", {{"widget_period_month", "This Month"}, {"widget_all_wallets", "All Wallets"}})
      .withStore({{"widget_auth_status", std::string("logged_in")}, {"widget_balance", Real{7}}});
  return t;
}

TamsaSummaryEntry snapshot(const device::Device& d, bool preview) {
  widgetkit::TimelineProviderContext ctx{d};
  ctx.isPreview = preview;
  std::optional<TamsaSummaryEntry> out;
  int calls = 0;
  TamsaProvider{}.getSnapshot(ctx, [&](TamsaSummaryEntry e) {
    out = e;
    ++calls;
  });
  EXPECT_EQ(calls, 1);
  return *out;
}

widgetkit::Timeline<TamsaSummaryEntry> timeline(const device::Device& d) {
  std::optional<widgetkit::Timeline<TamsaSummaryEntry>> out;
  int calls = 0;
  TamsaProvider{}.getTimeline(widgetkit::TimelineProviderContext{d}, [&](auto t) {
    out = t;
    ++calls;
  });
  EXPECT_EQ(calls, 1);
  return *out;
}

TEST(TamsaProvider, TimelineHasOneStoreEntryAndReloadsAnHourLater) {
  auto t = signedIn();
  auto d = t.device();
  auto tl = timeline(d);
  ASSERT_EQ(tl.entries.size(), 1u);
  EXPECT_EQ(tl.entries[0].balance, 7);
  EXPECT_TRUE(tl.entries[0].isLoggedIn);
  EXPECT_EQ(tl.policy, widgetkit::TimelineReloadPolicy::after(d.now().addingTimeInterval(3600)));
}

TEST(TamsaProvider, ReloadIsAnHourInTheDevicesCalendarAcrossAClockChange) {
  // 2026-03-29 00:30 UTC is 01:30 in Berlin, half an hour before clocks go forward: one hour
  // later is still 3600 seconds later.
  auto t = signedIn();
  t.at(*foundation::parseIso8601("2026-03-29T00:30:00Z"));
  auto d = t.device();
  d.timeZoneIdentifier = "Europe/Berlin";
  EXPECT_EQ(timeline(d).policy.afterDate(), d.now().addingTimeInterval(3600));
}

TEST(TamsaProvider, UnopenableStoreStillReloadsAfterAnHour) {
  auto t = signedIn();
  t.withoutContainer();
  auto d = t.device();
  auto tl = timeline(d);
  ASSERT_EQ(tl.entries.size(), 1u);
  EXPECT_EQ(tl.entries[0], fallbackSummaryEntry(d.now()));
  EXPECT_EQ(tl.policy.afterDate(), d.now().addingTimeInterval(3600));
  EXPECT_EQ(snapshot(d, false), fallbackSummaryEntry(d.now()));
}

TEST(TamsaProvider, PreviewSnapshotIsTheSampleWhateverTheStoreHolds) {
  auto t = signedIn();
  auto d = t.device();
  TamsaSummaryEntry preview = snapshot(d, true);
  EXPECT_EQ(preview, sampleSummaryEntry(*d.clock));
  EXPECT_EQ(preview.balance, 2350);
  EXPECT_EQ(snapshot(d, false).balance, 7);
}

TEST(TamsaProvider, PlaceholderNeverReadsTheStoreAndKeepsItsDate) {
  auto t = signedIn();
  t.withStoreBytes("garbage");
  widgetkit::TimelineProviderContext ctx{t.device()};
  auto first = TamsaProvider{}.placeholder(ctx);
  t.at(foundation::Date{4e9});
  auto second = TamsaProvider{}.placeholder(widgetkit::TimelineProviderContext{t.device()});
  EXPECT_EQ(first.balance, 2350);
  EXPECT_EQ(first.date, second.date);
}

}  // namespace
}  // namespace tamsa
