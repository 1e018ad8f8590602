// The quick-add widget laid out as the host shows it: the plus over the title, its background on
// each system, and its title shrinking before it is cut.
#include "quickadd/TamsaAddTransactionWidget.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/swiftui/FakeTextMeasurer.h"
#include "platform/swiftui/Layout.h"
#include "platform/swiftui/ViewNode.h"
#include "quickadd/AddTransactionLink.h"
#include "shared/Palette.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using namespace swiftui;
using os::SystemVersion;
using testing_support::TestDevice;

device::Device deviceWith(std::string title, std::optional<SystemVersion> version) {
  device::Device d =
      TestDevice().withTable("en", {{"widget_add_transaction_title", std::move(title)}}).device();
  d.systemVersion = version;
  return d;
}

// Lays the small widget out as the host does (16-point margins around a container background),
// with fixed advances (half the font size per character) and localized keys coming back
// bracketed, so a text that is looked up shows it.
WidgetLayout place(const std::string& title, std::optional<SystemVersion> version,
                   ColorScheme scheme = ColorScheme::light) {
  device::Device d = deviceWith(title, version);
  View content = quickAddWidgetContent(d, TamsaAddEntry{d.now()});
  EnvironmentValues env;
  env.colorScheme = scheme;
  static const FakeTextMeasurer measurer;
  LayoutContext context{measurer};
  context.localizedKeyResolver = [](const std::string& key) { return "[" + key + "]"; };
  double margin = inspect(content, env).usesContainerBackground ? 16 : 0;
  return layoutWidget(content, {158, 158}, insets(EdgeSet::all, margin), env, context);
}

TEST(QuickAddView, PlusOverTheTitleCentredInTheWidget) {
  EXPECT_FALSE(quickAddAccent().uiColor().isDynamic());
  for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    WidgetLayout l = place("Add Transaction", SystemVersion{18, 0, 0}, scheme);
    EXPECT_EQ(l.root.find("Frame")->frame, (Rect{16, 16, 126, 126}));
    auto texts = l.root.findAll("Text");
    ASSERT_EQ(texts.size(), 2u);
    const LayoutNode& plus = *texts[0];
    const LayoutNode& title = *texts[1];
    EXPECT_EQ(plus.text->string, "[+]");  // a localized key
    EXPECT_EQ(plus.text->fontSize, 46);
    EXPECT_EQ(plus.text->fontWeight, Font::Weight::bold);
    EXPECT_EQ(plus.text->color, (uikit::RGBA{0.082, 0.773, 0.808, 1.0}));  // one fixed teal
    EXPECT_EQ(title.text->string, "Add Transaction");  // shown verbatim, not looked up again
    EXPECT_EQ(title.text->fontSize, 12);
    EXPECT_EQ(title.text->fontWeight, Font::Weight::medium);
    EXPECT_EQ(title.text->color, secondaryTextColor().resolved(scheme));
    EXPECT_EQ(title.frame.y - plus.frame.maxY(), 2);
    for (const LayoutNode* t : texts) EXPECT_DOUBLE_EQ(t->frame.x + t->frame.width / 2, 79);
  }
}

TEST(QuickAddView, BackgroundPerSystemVersion) {
  for (auto version :
       {std::optional(SystemVersion{15, 6, 0}), std::optional(SystemVersion{16, 4, 1}),
        std::optional<SystemVersion>(), std::optional(SystemVersion{17, 0, 0}),
        std::optional(SystemVersion{17, 5, 0}), std::optional(SystemVersion{18, 0, 0})}) {
    SCOPED_TRACE(version ? version->text() : "unknown");
    bool modern = version && version->major >= 17;
    device::Device d = deviceWith("Add", version);
    View content = quickAddWidgetContent(d, TamsaAddEntry{d.now()});
    EXPECT_EQ(inspect(content, {}).usesContainerBackground, modern);
    EXPECT_EQ(inspect(content, {}).widgetURL, addTransactionURL());
    if (auto* background = std::get_if<BackgroundNode>(&content.node().value))
      EXPECT_EQ(background->ignoresSafeAreaEdges, EdgeSet::all);
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
      WidgetLayout l = place("Add", version, scheme);
      if (modern) {  // no inset of its own inside the host's margins
        EXPECT_TRUE(l.root.findAll("Background").empty());
        EXPECT_EQ(l.root.find("Frame")->frame, (Rect{16, 16, 126, 126}));
        continue;
      }
      ASSERT_EQ(l.root.type, "Background");
      EXPECT_EQ(l.root.frame, (Rect{0, 0, 158, 158}));
      EXPECT_EQ(l.root.color, Color(uikit::UIColor::systemBackgroundColor()).resolved(scheme));
      ASSERT_EQ(l.root.children[0].type, "Padding");
      EXPECT_EQ(l.root.find("Frame")->frame, (Rect{14, 14, 130, 130}));
    }
  }
}

TEST(QuickAddView, LongTitleShrinksToEightyPercentBeforeItIsCut) {
  // 126 points of width inside the margins.
  auto titleOf = [&](const std::string& title) {
    return *place(title, SystemVersion{17, 0, 0}).root.find("Text", 1);
  };
  LayoutNode fits = titleOf("Add Transaction");
  EXPECT_EQ(fits.text->fontSize, 12);
  EXPECT_FALSE(fits.text->shrunk);

  LayoutNode shrunk = titleOf(std::string(24, 'a'));  // 144 points at 12, 115.2 at 9.6
  EXPECT_TRUE(shrunk.text->shrunk);
  EXPECT_FALSE(shrunk.text->truncated);
  EXPECT_GE(shrunk.text->fontSize, 9.6);
  EXPECT_LT(shrunk.text->fontSize, 12);

  LayoutNode cut = titleOf(std::string(30, 'a'));  // 144 points even at 9.6
  EXPECT_TRUE(cut.text->truncated);
  EXPECT_NEAR(cut.text->fontSize, 9.6, 1e-9);
  EXPECT_EQ(cut.text->lines, 1);
  EXPECT_LE(cut.frame.maxX(), 142);
}

}  // namespace
}  // namespace tamsa
