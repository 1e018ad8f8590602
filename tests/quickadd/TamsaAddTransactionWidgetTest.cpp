// The quick-add widget's view tree, node by node, its background on each system, and its title
// shrinking before it is cut.
#include "quickadd/TamsaAddTransactionWidget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/swiftui/FakeTextMeasurer.h"
#include "platform/swiftui/Layout.h"
#include "platform/swiftui/ViewNode.h"
#include "quickadd/AddTransactionLink.h"
#include "summary/views/Palette.h"
#include "support/TestDevice.h"

namespace tamsa {
namespace {

using namespace swiftui;
using os::SystemVersion;
using testing_support::TestDevice;

// The view's node as `Node`, or nullptr when it is another kind.
template <class Node>
const Node* as(const View& view) {
  return std::get_if<Node>(&view.node().value);
}

// A text with the styling modifiers around it (the framework folds them into one change).
struct StyledText {
  TextNode text;
  EnvironmentPatch style;
};
StyledText styled(const View& view) {
  StyledText out;
  const View* v = &view;
  if (auto* m = as<EnvironmentModifierNode>(view)) {
    out.style = m->patch;
    v = &m->content;
  }
  if (auto* t = as<TextNode>(*v))
    out.text = *t;
  else
    ADD_FAILURE() << "not a styled text";
  return out;
}

void expectSameInBothAppearances(const Color& actual, const Color& expected, const char* what) {
  for (ColorScheme s : {ColorScheme::light, ColorScheme::dark})
    EXPECT_EQ(actual.resolved(s), expected.resolved(s)) << what;
}

device::Device deviceWith(std::string title, std::optional<SystemVersion> version) {
  device::Device d =
      TestDevice().withTable("en", {{"widget_add_transaction_title", std::move(title)}}).device();
  d.systemVersion = version;
  return d;
}

TEST(QuickAddView, TreeNodeByNode) {
  device::Device d = deviceWith("Add Transaction", SystemVersion{18, 0, 0});
  View body = TamsaAddTransactionEntryView{TamsaAddEntry{d.now()}, quickAddAccent(), &d}.body();

  const auto* linkp = as<WidgetURLNode>(body);
  ASSERT_NE(linkp, nullptr);
  const auto& link = *linkp;
  EXPECT_EQ(link.url, addTransactionURL());
  const auto* framep = as<FlexibleFrameNode>(link.content);
  ASSERT_NE(framep, nullptr);
  const auto& frame = *framep;
  EXPECT_EQ(frame.frame, (FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity}));
  const auto* stackp = as<StackNode>(frame.content);
  ASSERT_NE(stackp, nullptr);
  const auto& stack = *stackp;
  EXPECT_EQ(stack.axis, Axis::vertical);
  EXPECT_EQ(stack.alignment, static_cast<int>(HorizontalAlignment::center));
  EXPECT_EQ(stack.spacing, 2);
  ASSERT_EQ(stack.children.size(), 2u);

  StyledText plus = styled(stack.children[0]);
  EXPECT_EQ(plus.text.content, "+");
  EXPECT_TRUE(plus.text.isLocalizedKey);
  EXPECT_EQ(plus.style.font, Font::system(46, Font::Weight::bold));
  ASSERT_TRUE(plus.style.foregroundColor);
  expectSameInBothAppearances(*plus.style.foregroundColor, quickAddAccent(), "accent");
  EXPECT_FALSE(plus.style.lineLimit);
  EXPECT_FALSE(plus.style.minimumScaleFactor);

  StyledText title = styled(stack.children[1]);
  EXPECT_EQ(title.text.content, "Add Transaction");
  EXPECT_FALSE(title.text.isLocalizedKey);  // shown verbatim, not looked up again
  EXPECT_EQ(title.style.font, Font::system(12, Font::Weight::medium));
  ASSERT_TRUE(title.style.foregroundColor);
  expectSameInBothAppearances(*title.style.foregroundColor, secondaryTextColor(), "secondary");
  EXPECT_EQ(title.style.lineLimit, std::optional<std::optional<int>>(1));
  EXPECT_EQ(title.style.minimumScaleFactor, 0.8);
  EXPECT_FALSE(title.style.multilineTextAlignment);
}

TEST(QuickAddView, AccentIsOneFixedTeal) {
  uikit::RGBA teal{0.082, 0.773, 0.808, 1.0};
  EXPECT_FALSE(quickAddAccent().uiColor().isDynamic());
  EXPECT_EQ(quickAddAccent().resolved(ColorScheme::light), teal);
  EXPECT_EQ(quickAddAccent().resolved(ColorScheme::dark), teal);
}

TEST(QuickAddView, BackgroundPerSystemVersion) {
  for (auto version : {std::optional(SystemVersion{15, 6, 0}),
                       std::optional(SystemVersion{16, 4, 1}), std::optional<SystemVersion>()}) {
    device::Device d = deviceWith("Add", version);
    View content = quickAddWidgetContent(d, TamsaAddEntry{d.now()});
    const auto* backgroundp = as<BackgroundNode>(content);
    ASSERT_NE(backgroundp, nullptr);
    const auto& background = *backgroundp;
    EXPECT_EQ(background.ignoresSafeAreaEdges, EdgeSet::all);
    expectSameInBothAppearances(background.color, Color(uikit::UIColor::systemBackgroundColor()),
                                "system background");
    const auto* paddingp = as<PaddingNode>(background.content);
    ASSERT_NE(paddingp, nullptr);
    const auto& padding = *paddingp;
    EXPECT_EQ(padding.insets, (EdgeInsets{14, 14, 14, 14}));
    EXPECT_NE(as<WidgetURLNode>(padding.content), nullptr);
    EXPECT_FALSE(inspect(content, {}).usesContainerBackground);
  }
  for (SystemVersion version :
       {SystemVersion{17, 0, 0}, SystemVersion{17, 5, 0}, SystemVersion{18, 0, 0}}) {
    device::Device d = deviceWith("Add", version);
    View content = quickAddWidgetContent(d, TamsaAddEntry{d.now()});
    const auto* containerp = as<ContainerBackgroundNode>(content);
    ASSERT_NE(containerp, nullptr);
    const auto& container = *containerp;
    EXPECT_EQ(container.placement, ContainerBackgroundPlacement::widget);
    EXPECT_NE(as<WidgetURLNode>(container.content), nullptr);  // no inset of its own
    EXPECT_TRUE(inspect(content, {}).usesContainerBackground);
    EXPECT_EQ(inspect(content, {}).widgetURL, addTransactionURL());
  }
}

TEST(QuickAddView, LongTitleShrinksToEightyPercentBeforeItIsCut) {
  // Fixed advances: half the font size per character; 126 points of width inside the margins.
  static const FakeTextMeasurer measurer;
  auto titleOf = [&](const std::string& title) {
    device::Device d = deviceWith(title, SystemVersion{17, 0, 0});
    View content = quickAddWidgetContent(d, TamsaAddEntry{d.now()});
    WidgetLayout l =
        layoutWidget(content, {158, 158}, insets(EdgeSet::all, 16), {}, LayoutContext{measurer});
    EXPECT_EQ(l.root.findAll("Text").size(), 2u);
    EXPECT_EQ(l.root.find("Text", 0)->text->fontSize, 46);
    const LayoutNode* frame = l.root.find("Frame");
    EXPECT_EQ(frame->frame, (Rect{16, 16, 126, 126}));
    return *l.root.find("Text", 1);
  };
  LayoutNode fits = titleOf("Add Transaction");
  EXPECT_EQ(fits.text->fontSize, 12);
  EXPECT_FALSE(fits.text->shrunk);
  EXPECT_DOUBLE_EQ(fits.frame.x + fits.frame.width / 2, 79);  // centred

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
