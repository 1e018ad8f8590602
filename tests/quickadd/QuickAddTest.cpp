// The quick-add subsystem: the widget's configuration and the add-transaction control, whose
// intent waits for the main thread and opens the app's add-transaction link. Its view as the home
// screen frames it is tested with the host's framing (tests/host/system).
#include <gtest/gtest.h>

#include <thread>

#include "quickadd/TamsaAddTransactionControl.h"
#include "quickadd/TamsaAddTransactionWidget.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

// German recorded by the app over English as the system's language.
device::Device germanOverEnglish() {
  auto d = testing_support::TestDevice()
               .withTable("en", {{"widget_add_transaction_title", "Add Transaction"},
                                 {"widget_add_transaction_description", "Quickly add one."}})
               .withTable("de", {{"widget_add_transaction_title", "Transaktion hinzufügen"},
                                 {"widget_add_transaction_description", "Schnell hinzufügen."}})
               .withStore({{"widget_language", std::string("de")}})
               .device();
  d.mainActor = std::make_shared<os::MainActor>();
  return d;
}

TEST(QuickAddWidget, NameAndDescriptionInTheRecordedLanguageAndOneEntryNeverReloaded) {
  auto d = germanOverEnglish();
  auto config = TamsaAddTransactionWidget{}.body(d);
  EXPECT_EQ(std::get<std::string>(config.displayName()), "Transaktion hinzufügen");
  EXPECT_EQ(config.description(), "Schnell hinzufügen.");
  EXPECT_EQ(config.families(), std::vector{widgetkit::WidgetFamily::systemSmall});
  std::vector<TamsaAddEntry> entries = {TamsaAddProvider{}.placeholder({d})};
  TamsaAddProvider{}.getSnapshot({d}, [&](TamsaAddEntry e) { entries.push_back(e); });
  TamsaAddProvider{}.getTimeline({d}, [&](widgetkit::Timeline<TamsaAddEntry> tl) {
    entries.insert(entries.end(), tl.entries.begin(), tl.entries.end());
    EXPECT_EQ(tl.policy, widgetkit::TimelineReloadPolicy::never());
  });
  EXPECT_EQ(entries, std::vector(3, TamsaAddEntry{d.now()}));
}

TEST(AddTransactionControl, TitleInTheRecordedLanguageAndAnIntentThatOpensTheAppOnTheMainThread) {
  auto d = germanOverEnglish();
  auto control = TamsaAddTransactionControl{}.body(d);
  EXPECT_EQ(control.button().title, "Transaktion hinzufügen");
  EXPECT_EQ(control.button().systemImage, "plus");
  // Name and description are keys the system resolves in its own language.
  EXPECT_EQ(control.displayName().resolved(d.mainBundle), "Add Transaction");
  EXPECT_EQ(control.description().resolved(d.mainBundle), "Quickly add one.");
  const auto& intent = control.button().action;
  EXPECT_EQ(intent.title.key, "widget_add_transaction_title");
  EXPECT_TRUE(intent.openAppWhenRun);

  // Asked from another thread, as the system does; only the main thread runs the work.
  std::shared_future<appintents::IntentResult> result;
  std::thread([&] { result = intent.perform(); }).join();
  EXPECT_EQ(result.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
  ASSERT_TRUE(d.mainActor->drain());
  ASSERT_EQ(result.wait_for(std::chrono::seconds(0)), std::future_status::ready);
  ASSERT_TRUE(result.get().opensIntent);
  EXPECT_EQ(result.get().opensIntent->url.absoluteString(),
            "tamsaledger://app/addTransactionChatMode");
  EXPECT_FALSE(result.get().hasValue || result.get().hasDialog);
}

}  // namespace
}  // namespace tamsa
