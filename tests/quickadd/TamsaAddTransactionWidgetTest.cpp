// The quick-add widget's view laid out as the host shows it (fixed advances of half the font size
// per character): the plus over the title, its background on each system, and its title
// shrinking before it is cut.
#include "quickadd/TamsaAddTransactionWidget.h"

#include <gtest/gtest.h>

#include "platform/swiftui/FakeTextMeasurer.h"
#include "platform/swiftui/Layout.h"
#include "quickadd/AddTransactionLink.h"
#include "shared/Palette.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using namespace swiftui;
using os::SystemVersion;

// Lays the widget out as the host does (16-point margins around a container background), with
// localized keys coming back bracketed, so a text that is looked up shows it.
WidgetLayout place(const std::string& title, std::optional<SystemVersion> version,
                   ColorScheme scheme = ColorScheme::light) {
  auto d = testing_support::TestDevice()
               .withTable("en", {{"widget_add_transaction_title", title}})
               .device();
  d.systemVersion = version;
  View content = quickAddWidgetContent(d, TamsaAddEntry{d.now()});
  EnvironmentValues env;
  env.colorScheme = scheme;
  static const FakeTextMeasurer measurer;
  LayoutContext context{measurer, {}};
  context.localizedKeyResolver = [](const std::string& key) { return "[" + key + "]"; };
  ViewTraits traits = inspect(content, env);
  EXPECT_EQ(traits.widgetURL, addTransactionURL());
  double margin = traits.usesContainerBackground ? 16 : 0;
  return layoutWidget(content, {158, 158}, insets(EdgeSet::all, margin), env, context);
}

TEST(QuickAddView, PlusOverTheTitleCentredOnTheSystemBackgroundBeforeIOS17) {
  for (auto version : {std::optional(SystemVersion{16, 4, 1}), std::optional<SystemVersion>(),
                       std::optional(SystemVersion{17, 0, 0})}) {
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
      bool modern = version && version->major >= 17;
      WidgetLayout l = place("Add Transaction", version, scheme);
      double inset = modern ? 16 : 14;
      EXPECT_EQ(l.root.find("Frame")->frame,
                (Rect{inset, inset, 158 - 2 * inset, 158 - 2 * inset}));
      EXPECT_EQ(
          l.root.color,
          modern ? std::nullopt
                 : std::optional(Color(uikit::UIColor::systemBackgroundColor()).resolved(scheme)));
      auto texts = l.root.findAll("Text");
      ASSERT_EQ(texts.size(), 2u);
      // The plus is a localized key in one fixed teal; the title is shown as looked up.
      EXPECT_EQ(*texts[0]->text,
                (TextLayout{"[+]", "[+]", 46, Font::Weight::bold, {0.082, 0.773, 0.808, 1.0}, 1}));
      EXPECT_EQ(*texts[1]->text,
                (TextLayout{"Add Transaction", "Add Transaction", 12, Font::Weight::medium,
                            secondaryTextColor().resolved(scheme), 1}));
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
  EXPECT_EQ(title(24), (TextLayout{std::string(24, 'a'), std::string(24, 'a'), 10.5,
                                   Font::Weight::medium, grey, 1, true}));
  EXPECT_EQ(title(30), (TextLayout{std::string(30, 'a'), std::string(25, 'a') + "…", 12 * 0.8,
                                   Font::Weight::medium, grey, 1, true, true}));
}

}  // namespace
}  // namespace tamsa
