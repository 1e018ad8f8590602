#include "host/findings/TextFindings.h"

#include <gtest/gtest.h>

namespace host {
namespace {

drawing::LayoutTreeNode text(const std::string& s, bool shrunk, bool truncated, int missing,
                             std::vector<drawing::LayoutTreeNode> children = {}) {
  drawing::LayoutTreeNode n{.kind = drawing::NodeKind::text, .children = std::move(children)};
  n.text = swiftui::TextLayout{
      .string = s, .drawn = s, .shrunk = shrunk, .truncated = truncated, .missingGlyphs = missing};
  return n;
}

TEST(TextFindings, FindsEveryFlaggedTextAtAnyDepthInOrder) {
  drawing::LayoutTree tree{.root =
                               text("fine", false, false, 0,
                                    {text("cut", false, true, 0, {text("small", true, false, 0)}),
                                     text("tofu", false, false, 2), text("all", true, true, 1)})};
  std::vector<std::string> found;
  for (const auto& f : findTextProblems(tree)) found.push_back(f.string + ": " + f.problems());
  EXPECT_EQ(found, (std::vector<std::string>{"cut: cut", "small: shrunk", "tofu: missing glyphs",
                                             "all: cut, shrunk, missing glyphs"}));
  // A text from a table names it.
  tree.root = text("Einnahmen", true, false, 0);
  tree.root.text->source = {"de.lproj/Localizable.strings", "widget_income", 11};
  TextFinding f = findTextProblems(tree).at(0);
  EXPECT_EQ(*f.table + ":" + std::to_string(*f.line) + " " + *f.key,
            "de.lproj/Localizable.strings:11 widget_income");
}

TEST(ContentOverflow, MeasuresTheWorstEdgeAgainstTheMargins) {
  swiftui::WidgetLayout layout;
  layout.size = {338, 158};
  layout.contentMargins = {16, 16, 16, 16};
  layout.root.frame = {16, 16, 306, 126};
  EXPECT_EQ(contentOverflow(layout), 0);
  layout.root.frame = {16, 8, 306, 142};  // centred and 16 pt too tall
  EXPECT_EQ(contentOverflow(layout), 8);
  layout.contentMargins = {};
  layout.root.frame = {-6, -6, 350, 170};  // an inset background larger than the widget
  EXPECT_EQ(contentOverflow(layout), 6);
}

}  // namespace
}  // namespace host

namespace host {
namespace {

// A text or an image past the widget's edge is cut off by the phone; a background is not.
TEST(EdgeOverflow, CountsTextsAndImagesNotBackgrounds) {
  using drawing::LayoutTreeNode;
  using drawing::NodeKind;
  drawing::LayoutTree tree{.size = {158, 158}};
  tree.root = {.kind = NodeKind::vStack,
               .frame = {-6, -6, 170, 170},
               .children = {{.kind = NodeKind::background, .frame = {-6, -6, 170, 170}},
                            {.kind = NodeKind::text, .frame = {16, 16, 126, 20}}}};
  EXPECT_EQ(edgeOverflow(tree), 0);
  tree.root.children[1].frame = {16, 150, 126, 12};  // 4 pt below the bottom edge
  EXPECT_EQ(edgeOverflow(tree), 4);
  tree.root.children[1].frame = {16, 16, 126, 20};
  tree.root.children.push_back({.kind = NodeKind::symbol, .frame = {-3, 40, 20, 20}});
  EXPECT_EQ(edgeOverflow(tree), 3);
}

}  // namespace
}  // namespace host
