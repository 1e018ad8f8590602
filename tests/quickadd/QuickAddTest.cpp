// The quick-add subsystem: the widget's configuration, its view laid out as the host shows it
// (fixed advances of half the font size per character), and the add-transaction control, whose
// intent waits for the main thread and opens the app's add-transaction link.
#include <gtest/gtest.h>

#include <thread>

#include "platform/swiftui/FakeTextMeasurer.h"
#include "platform/swiftui/Layout.h"
#include "quickadd/TamsaAddTransactionControl.h"
#include "quickadd/TamsaAddTransactionWidget.h"
#include "shared/Palette.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using namespace swiftui;
using os::SystemVersion;

// German recorded by the app over English as the system's language.
device::Device germanOverEnglish(const std::string& germanTitle = "Transaktion hinzufügen") {
  auto d = testing_support::TestDevice()
               .withTable("en", {{"widget_add_transaction_title", "Add Transaction"},
                                 {"widget_add_transaction_description", "Quickly add one."}})
               .withTable("de", {{"widget_add_transaction_title", germanTitle},
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

// A text laid out on one line in no particular language, leading, with every glyph found.
TextLayout oneLine(std::string text, std::string drawn, double size, Font::Weight weight,
                   uikit::RGBA color, bool shrunk = false, bool cut = false) {
  return {text, drawn, size, weight, color, 1, shrunk, cut, 0, TextAlignment::leading, {}};
}

// Lays the widget out as the host does (16-point margins around a container background), with
// localized keys coming back bracketed, so a text that is looked up shows it. The title is the
// recorded language's.
WidgetLayout place(const std::string& title, std::optional<SystemVersion> version,
                   ColorScheme scheme = ColorScheme::light) {
  auto d = germanOverEnglish(title);
  d.systemVersion = version;
  View content = quickAddWidgetContent(d, TamsaAddEntry{d.now()});
  EnvironmentValues env;
  env.colorScheme = scheme;
  static const FakeTextMeasurer measurer;
  LayoutContext context{measurer, [](const std::string& key) { return "[" + key + "]"; }};
  ViewTraits traits = inspect(content, env);
  double margin = traits.usesContainerBackground ? 16 : 0;
  return layoutWidget(content, {158, 158}, insets(EdgeSet::all, margin), env, context);
}

// The background's colours are the shared wrapper's, pinned with the summary widget's views; the
// inset of 14 before iOS 17 shows this widget sits in that wrapper.
TEST(QuickAddView, PlusOverTheTitleCentredOnTheSystemBackgroundBeforeIOS17) {
  for (auto version : {std::optional(SystemVersion{16, 4, 1}), std::optional<SystemVersion>(),
                       std::optional(SystemVersion{17, 0, 0})}) {
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
      WidgetLayout l = place("Add Transaction", version, scheme);
      double inset = version && version->major >= 17 ? 16 : 14;
      EXPECT_EQ(l.root.find("Frame")->frame,
                (Rect{inset, inset, 158 - 2 * inset, 158 - 2 * inset}));
      auto texts = l.root.findAll("Text");
      ASSERT_EQ(texts.size(), 2u);
      // The plus is a localized key in one fixed teal; the title is shown as looked up.
      EXPECT_EQ(*texts[0]->text,
                oneLine("[+]", "[+]", 46, Font::Weight::bold, {0.082, 0.773, 0.808, 1.0}));
      EXPECT_EQ(*texts[1]->text,
                oneLine("Add Transaction", "Add Transaction", 12, Font::Weight::medium,
                        secondaryTextColor().resolved(scheme)));
      EXPECT_EQ(texts[1]->frame.y - texts[0]->frame.maxY(), 2);
      for (const LayoutNode* t : texts) EXPECT_DOUBLE_EQ(t->frame.x + t->frame.width / 2, 79);
    }
  }
}

TEST(QuickAddView, LongTitleShrinksToEightyPercentOnOneLineBeforeItIsCut) {
  // 126 points of width: 24 characters fit at 10.5 points; 30 do not fit even at 9.6.
  auto title = [](int length) {
    return *place(std::string(length, 'a'), SystemVersion{17, 0, 0}).root.find("Text", 1)->text;
  };
  const uikit::RGBA grey = secondaryTextColor().resolved(ColorScheme::light);
  EXPECT_EQ(title(24), oneLine(std::string(24, 'a'), std::string(24, 'a'), 10.5,
                               Font::Weight::medium, grey, true, false));
  EXPECT_EQ(title(30), oneLine(std::string(30, 'a'), std::string(25, 'a') + "…", 12 * 0.8,
                               Font::Weight::medium, grey, true, true));
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
