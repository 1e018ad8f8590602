#include "host/TextFindings.h"

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

TEST(TextFindings, AReportWithoutRootHasNone) {
  EXPECT_TRUE(findTextProblems(nlohmann::json::object()).empty());
}

}  // namespace
}  // namespace host
