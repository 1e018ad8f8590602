#include <gtest/gtest.h>

#include <thread>

#include "platform/swiftui/Layout.h"
#include "quickadd/AddTransactionLink.h"
#include "quickadd/TamsaAddTransactionControl.h"
#include "quickadd/TamsaAddTransactionWidget.h"
#include "quickadd/TamsaOpenAddTransactionIntent.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using testing_support::TestDevice;

TestDevice twoLanguages() {
  TestDevice t;
  t.withTable("en", {{"widget_add_transaction_title", "Add Transaction"},
                     {"widget_add_transaction_description", "Quickly add one."}})
      .withTable("de", {{"widget_add_transaction_title", "Transaktion hinzufügen"},
                        {"widget_add_transaction_description", "Schnell eine hinzufügen."}})
      .withStore({{"widget_language", std::string("de")}});
  return t;
}

device::Device withMainActor(const TestDevice& t) {
  auto d = t.device();
  d.mainActor = std::make_shared<os::MainActor>();
  return d;
}

TEST(OpenAddTransactionIntent, PerformRunsOnTheMainActorAndOpensTheLink) {
  auto t = twoLanguages();
  auto d = withMainActor(t);
  std::shared_future<appintents::IntentResult> result;
  bool ranOnMain = false;
  // Asked from another thread, as the system does; the work waits for the main thread.
  std::thread caller([&] { result = TamsaOpenAddTransactionIntent{}.perform(d); });
  caller.join();
  EXPECT_EQ(result.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
  bool drained = true;  // only the main thread drains it
  std::thread other([&] { drained = d.mainActor->drain(); });
  other.join();
  EXPECT_FALSE(drained);
  EXPECT_EQ(result.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
  d.mainActor->enqueue([&] { ranOnMain = d.mainActor->isCurrent(); });
  ASSERT_TRUE(d.mainActor->drain());
  ASSERT_EQ(result.wait_for(std::chrono::seconds(0)), std::future_status::ready);
  EXPECT_TRUE(ranOnMain);
  const auto& r = result.get();
  ASSERT_TRUE(r.opensIntent);
  EXPECT_EQ(r.opensIntent->url.absoluteString(), addTransactionURL());
  EXPECT_FALSE(r.hasValue);
  EXPECT_FALSE(r.hasDialog);
}

TEST(OpenAddTransactionIntent, TitleIsBuiltOnceAndHandedOutAsCopies) {
  std::vector<appintents::LocalizedStringResource> titles(8);
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&, i] { titles[i] = TamsaOpenAddTransactionIntent::title(); });
  for (auto& th : threads) th.join();
  for (const auto& title : titles) EXPECT_EQ(title.key, "widget_add_transaction_title");
  auto copy = TamsaOpenAddTransactionIntent::title();
  copy.key = "changed";
  EXPECT_EQ(TamsaOpenAddTransactionIntent::title().key, "widget_add_transaction_title");
  EXPECT_TRUE(TamsaOpenAddTransactionIntent::openAppWhenRun);
}

TEST(AddTransactionControl, LabelFollowsTheInAppLanguageNameAndDescriptionTheSystems) {
  auto t = twoLanguages();
  auto d = withMainActor(t);
  auto control = TamsaAddTransactionControl{}.body(d);
  EXPECT_EQ(control.kind(), "com.tamsaledger.app.AddTransactionControl");
  EXPECT_EQ(control.button().title, "Transaktion hinzufügen");
  EXPECT_EQ(control.button().systemImage, "plus");
  EXPECT_EQ(control.displayName().resolved(d.mainBundle), "Add Transaction");
  EXPECT_EQ(control.description().resolved(d.mainBundle), "Quickly add one.");
  EXPECT_EQ(control.button().action.title.key, "widget_add_transaction_title");
  EXPECT_TRUE(control.button().action.openAppWhenRun);
}

TEST(AddTransactionControl, ItsIntentAndTheQuickAddWidgetOpenTheSameLink) {
  auto t = twoLanguages();
  auto d = withMainActor(t);
  auto result = TamsaAddTransactionControl{}.body(d).button().action.perform();
  d.mainActor->drain();
  auto view = quickAddWidgetContent(d, TamsaAddEntry{d.now()});
  auto traits = swiftui::inspect(view, swiftui::EnvironmentValues{});
  EXPECT_EQ(traits.widgetURL, "tamsaledger://app/addTransactionChatMode");
  EXPECT_EQ(result.get().opensIntent->url.absoluteString(), traits.widgetURL);
}

TEST(QuickAddWidget, NameAndDescriptionFollowTheInAppLanguage) {
  auto t = twoLanguages();
  auto d = t.device();
  auto config = TamsaAddTransactionWidget{}.body(d);
  EXPECT_EQ(config.kind(), "TamsaAddTransactionWidget");
  EXPECT_EQ(std::get<std::string>(config.displayName()), "Transaktion hinzufügen");
  EXPECT_EQ(config.description(), "Schnell eine hinzufügen.");
  EXPECT_EQ(config.families(), std::vector{widgetkit::WidgetFamily::systemSmall});
}

TEST(QuickAddProvider, OneEntryDatedNowNeverReloaded) {
  TestDevice t;
  auto d = t.device();
  widgetkit::TimelineProviderContext ctx{d};
  ctx.isPreview = true;
  int calls = 0;
  TamsaAddProvider{}.getTimeline(ctx, [&](widgetkit::Timeline<TamsaAddEntry> tl) {
    ++calls;
    ASSERT_EQ(tl.entries.size(), 1u);
    EXPECT_EQ(tl.entries[0].date, d.now());
    EXPECT_EQ(tl.policy, widgetkit::TimelineReloadPolicy::never());
  });
  TamsaAddProvider{}.getSnapshot(ctx, [&](TamsaAddEntry e) {
    ++calls;
    EXPECT_EQ(e.date, d.now());
  });
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(TamsaAddProvider{}.placeholder(ctx).date, d.now());
}

}  // namespace
}  // namespace tamsa
