// The render command drawing the real widgets, as a user runs it: golden pictures of the summary
// and quick-add widgets with a fixed clock, locale, time zone and language, and no missing glyph
// in their layout reports. (What shrinks or is cut: TamsaWidgetEntryViewTest with fixed advances,
// LayoutReportTest with the real fonts.)
// Regenerate the pictures after an intended change of drawing with
//   TAMSA_UPDATE_GOLDENS=1 build/tests/host_test --gtest_filter='*WidgetGolden*'
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include "support/GoldenPicture.h"
#include "support/RunProgram.h"

namespace {

using nlohmann::json;
using testing_support::runWidgets;

// The device every picture is drawn on.
const std::vector<std::string> kFixed = {"--now=2026-12-06T12:00:00Z", "--locale=en_US",
                                         "--time-zone=UTC", "--language=en", "--scale=2"};

struct Drawn {
  std::string picture;
  json report;
};

// Renders with the fixed device and `args`; the picture and layout report go to a temporary
// directory.
Drawn render(const std::string& name, std::vector<std::string> args) {
  std::string dir = testing_support::makeTempDirectory();
  Drawn d{dir + "/" + name + ".png", {}};
  args.insert(args.begin(), "render");
  args.insert(args.end(), kFixed.begin(), kFixed.end());
  args.insert(args.end(), {"-o", d.picture, "--layout", dir + "/" + name + ".json"});
  auto r = runWidgets(args);
  EXPECT_EQ(r.status, 0) << r.err;
  std::ifstream in(dir + "/" + name + ".json");
  if (in) d.report = json::parse(in);
  return d;
}

std::vector<json> texts(const json& node) {
  std::vector<json> out;
  if (node["type"] == "Text") out.push_back(node);
  for (const json& c : node["children"])
    for (json& t : texts(c)) out.push_back(std::move(t));
  return out;
}

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
  Drawn d = render(c.name, c.args);
  EXPECT_TRUE(testing_support::matchesGolden(
      d.picture, std::string(TAMSA_TEST_DATA) + "/widgets/" + c.name + ".png"));
  for (const json& t : texts(d.report["root"])) EXPECT_EQ(t["missingGlyphs"], 0) << t["string"];
}

// The sample entry is what the placeholder shows; a missing container means signed out.
INSTANTIATE_TEST_SUITE_P(
    Widgets, WidgetGolden,
    ::testing::Values(
        GoldenCase{"summary_small_light",
                   {"TamsaWidget", "--family=small", "--entry=placeholder", "--os=17.0"}},
        GoldenCase{"summary_medium_dark_ios16",
                   {"TamsaWidget", "--family=medium", "--entry=placeholder", "--os=16.4",
                    "--appearance=dark"}},
        GoldenCase{
            "summary_signed_out_medium",
            {"TamsaWidget", "--family=medium", "--container=/nonexistent/container", "--os=17.0"}},
        GoldenCase{
            "quickadd_small_dark_ios16",
            {"TamsaAddTransactionWidget", "--family=small", "--os=16.4", "--appearance=dark"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
