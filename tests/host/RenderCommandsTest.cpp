// The render command drawing the real widgets, as a user runs it: golden pictures with a fixed
// clock, locale, time zone and language, and no missing glyph in their layout reports. (What
// shrinks or is cut: the view tests with fixed advances and the render tests with real fonts.)
// Regenerate the pictures after an intended change of drawing with
//   TAMSA_UPDATE_GOLDENS=1 build/tests/host_test --gtest_filter='*WidgetGolden*'
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

#include "support/GoldenPicture.h"
#include "support/RunProgram.h"

namespace {

struct GoldenCase {
  const char* name;
  std::vector<std::string> args;
};

// Named in test listings by its picture, not by its bytes.
void PrintTo(const GoldenCase& c, std::ostream* out) {
  *out << c.name;
}

class WidgetGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(WidgetGolden, MatchesTheStoredPicture) {
  const GoldenCase& c = GetParam();
  std::string dir = testing_support::makeTempDirectory(), picture = dir + "/p.png";
  std::vector<std::string> args = {"render",
                                   "--now=2026-12-06T12:00:00Z",
                                   "--locale=en_US",
                                   "--time-zone=UTC",
                                   "--language=en",
                                   "--scale=2",
                                   "-o",
                                   picture,
                                   "--layout",
                                   dir + "/p.json"};
  args.insert(args.end(), c.args.begin(), c.args.end());
  auto r = testing_support::runWidgets(args);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(testing_support::matchesGolden(
      picture, std::string(TAMSA_TEST_DATA) + "/widgets/" + c.name + ".png"));
  std::ifstream report(dir + "/p.json");
  auto noMissingGlyphs = [](const nlohmann::json& node, auto& self) -> void {
    EXPECT_EQ(node.value("missingGlyphs", 0), 0) << node.value("string", "");
    for (const auto& child : node["children"]) self(child, self);
  };
  noMissingGlyphs(nlohmann::json::parse(report)["root"], noMissingGlyphs);
}

// The sample entry is what the placeholder shows.
INSTANTIATE_TEST_SUITE_P(
    Widgets, WidgetGolden,
    ::testing::Values(GoldenCase{"summary_small_light",
                                 {"TamsaWidget", "--family=small", "--entry=placeholder",
                                  "--os=17.0"}},
                      GoldenCase{"summary_medium_dark_ios16",
                                 {"TamsaWidget", "--family=medium", "--entry=placeholder",
                                  "--os=16.4", "--appearance=dark"}},
                      GoldenCase{"quickadd_small_dark_ios16",
                                 {"TamsaAddTransactionWidget", "--family=small", "--os=16.4",
                                  "--appearance=dark"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
