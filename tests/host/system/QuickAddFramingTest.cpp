// The quick-add widget's view as the home screen frames it, laid out with fixed advances of half
// the font size per character.
#include <gtest/gtest.h>

#include "host/system/WidgetFraming.h"
#include "platform/swiftui/FakeTextMeasurer.h"
#include "platform/swiftui/Layout.h"
#include "quickadd/TamsaAddTransactionWidget.h"
#include "shared/Palette.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using namespace swiftui;
using os::SystemVersion;

// A text laid out on one line in no particular language, leading, with every glyph found.
TextLayout oneLine(std::string text, std::string drawn, double size, Font::Weight weight,
                   uikit::RGBA color, bool shrunk = false, bool cut = false) {
  return {text, drawn, size, weight, color, 1, shrunk, cut, 0, TextAlignment::leading, {}};
}

// What is drawn, without the room it was given.
TextLayout drawnPart(TextLayout t) {
  t.room.reset();
  t.lineLimit.reset();
  t.requestedFontSize = t.minimumFontSize = 0;
  return t;
}

// Lays the widget out as the host frames it, with localized keys coming back bracketed, so a text
// that is looked up shows it. The title is the recorded language's (German over English).
WidgetLayout place(const std::string& title, std::optional<SystemVersion> version,
                   ColorScheme scheme = ColorScheme::light) {
  device::Device d = testing_support::TestDevice()
                         .withTable("en", {{"widget_add_transaction_title", "Add Transaction"}})
                         .withTable("de", {{"widget_add_transaction_title", title}})
                         .withStore({{"widget_language", std::string("de")}})
                         .device();
  d.systemVersion = version;
  static const FakeTextMeasurer measurer;
  host::SceneRequest request;
  request.view = quickAddWidgetContent(d, TamsaAddEntry{d.now()});
  request.appearance =
      scheme == ColorScheme::dark ? host::Appearance::dark : host::Appearance::light;
  request.systemVersion = version;
  request.localizedKeyResolver = [](const std::string& key) { return "[" + key + "]"; };
  return host::composeScene(request, measurer)->layout;
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
      EXPECT_EQ(drawnPart(*texts[0]->text),
                oneLine("[+]", "[+]", 46, Font::Weight::bold, {0.082, 0.773, 0.808, 1.0}));
      EXPECT_EQ(drawnPart(*texts[1]->text),
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
  EXPECT_EQ(drawnPart(title(24)), oneLine(std::string(24, 'a'), std::string(24, 'a'), 10.5,
                                          Font::Weight::medium, grey, true, false));
  EXPECT_EQ(drawnPart(title(30)), oneLine(std::string(30, 'a'), std::string(25, 'a') + "…",
                                          12 * 0.8, Font::Weight::medium, grey, true, true));
  // The room it had: the content's width, one line, 12 pt down to 80 %.
  const TextLayout cut = title(30);
  EXPECT_EQ(cut.room, 126);
  EXPECT_EQ(cut.lineLimit, 1);
  EXPECT_DOUBLE_EQ(cut.requestedFontSize, 12);
  EXPECT_DOUBLE_EQ(cut.minimumFontSize, 12 * 0.8);
}

}  // namespace
}  // namespace tamsa
