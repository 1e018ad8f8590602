#include "host/gallery/TextFindings.h"

#include <gtest/gtest.h>

namespace host {
namespace {

nlohmann::json text(const std::string& s, bool shrunk, bool truncated, int missing) {
  return {{"type", "Text"},
          {"string", s},
          {"drawn", s},
          {"fontSize", 12},
          {"shrunk", shrunk},
          {"truncated", truncated},
          {"missingGlyphs", missing},
          {"children", nlohmann::json::array()}};
}

TEST(TextFindings, FindsEveryFlaggedTextAtAnyDepthInOrder) {
  nlohmann::json report = {
      {"root",
       {{"type", "VStack"},
        {"children",
         {text("fine", false, false, 0),
          {{"type", "Padding"},
           {"children", {text("cut", false, true, 0), text("small", true, false, 0)}}},
          text("tofu", false, false, 2),
          text("all", true, true, 1)}}}}};
  auto found = findTextProblems(report);
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0].string, "cut");
  EXPECT_EQ(found[0].problems(), "cut");
  EXPECT_EQ(found[1].problems(), "shrunk");
  EXPECT_EQ(found[2].problems(), "missing glyphs");
  EXPECT_EQ(found[3].problems(), "cut, shrunk, missing glyphs");
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
