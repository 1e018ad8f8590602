#include "host/gallery/TextFindings.h"

#include <gtest/gtest.h>

namespace host {
namespace {

nlohmann::json text(const std::string& s, bool shrunk, bool truncated, int missing,
                    nlohmann::json children = nlohmann::json::array()) {
  return {{"type", "Text"},
          {"string", s},
          {"drawn", s},
          {"shrunk", shrunk},
          {"truncated", truncated},
          {"missingGlyphs", missing},
          {"children", children}};
}

TEST(TextFindings, FindsEveryFlaggedTextAtAnyDepthInOrder) {
  nlohmann::json report = {
      {"root", text("fine", false, false, 0,
                    {text("cut", false, true, 0, {text("small", true, false, 0)}),
                     text("tofu", false, false, 2), text("all", true, true, 1)})}};
  std::vector<std::string> found;
  for (const auto& f : findTextProblems(report)) found.push_back(f.string + ": " + f.problems());
  EXPECT_EQ(found, (std::vector<std::string>{"cut: cut", "small: shrunk", "tofu: missing glyphs",
                                             "all: cut, shrunk, missing glyphs"}));
  // A text from a table names it.
  nlohmann::json fromTable = text("Einnahmen", true, false, 0);
  fromTable.update(
      {{"table", "de.lproj/Localizable.strings"}, {"key", "widget_income"}, {"line", 11}});
  TextFinding f = findTextProblems({{"root", fromTable}}).at(0);
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
