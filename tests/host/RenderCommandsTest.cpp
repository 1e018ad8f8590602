// The render command drawing the real widgets, as a user runs it: golden pictures of the summary
// and quick-add widgets with a fixed clock, locale, time zone and language, and the layout report
// with the project's fonts for what must shrink, be cut or never shrink.
// Regenerate the pictures after an intended change of drawing with
//   TAMSA_UPDATE_GOLDENS=1 build/tests/host_test --gtest_filter='*WidgetGolden*'
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include "support/GoldenPicture.h"
#include "support/RunProgram.h"
#include "support/TestDevice.h"

namespace {

using nlohmann::json;
using testing_support::runWidgets;

// The device every picture is drawn on.
const std::vector<std::string> kFixed = {"--now=2026-12-06T12:00:00Z", "--locale=en_US",
                                         "--time-zone=UTC", "--language=en", "--scale=2"};

std::string containerWith(const std::string& plist) {
  std::string dir = testing_support::makeTempDirectory();
  std::filesystem::create_directories(dir + "/Library/Preferences");
  std::ofstream(dir + "/Library/Preferences/group.com.tamsaledger.app.plist") << plist;
  return dir;
}

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

json textNamed(const Drawn& d, const std::string& string) {
  for (const json& t : texts(d.report["root"]))
    if (t["string"] == string) return t;
  ADD_FAILURE() << "no text " << string;
  return json::object();
}

struct GoldenCase {
  const char* name;
  std::vector<std::string> args;
};

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
        GoldenCase{"summary_small_dark",
                   {"TamsaWidget", "--family=small", "--entry=placeholder", "--os=17.0",
                    "--appearance=dark"}},
        GoldenCase{"summary_medium_light",
                   {"TamsaWidget", "--family=medium", "--entry=placeholder", "--os=17.0"}},
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

TEST(RenderedSummary, HugeAmountsShrinkAndLongNamesAreCutWithRealFonts) {
  std::string container = containerWith(testing_support::xmlPlist(
      {{"widget_auth_status", std::string("logged_in")},
       {"widget_balance", testing_support::Real{1e15}},
       {"widget_income", testing_support::Real{12345.67}},
       {"widget_expense", testing_support::Real{1e15}},
       {"widget_currency_symbol", std::string("$")},
       {"widget_wallet_mode", std::string("single")},
       {"widget_wallet_names",
        std::string("Gemeinsames Haushaltskonto der Familie Müller-Lüdenscheidt")}}));
  for (const char* family : {"small", "medium"}) {
    SCOPED_TRACE(family);
    Drawn d =
        render(std::string("huge_") + family, {"TamsaWidget", std::string("--family=") + family,
                                               "--os=17.0", "--container=" + container});
    json wallet = textNamed(d, "Gemeinsames Haushaltskonto der Familie Müller-Lüdenscheidt");
    EXPECT_EQ(wallet["truncated"], true);
    EXPECT_EQ(wallet["shrunk"], false);
    EXPECT_EQ(wallet["fontSize"], 14);
    EXPECT_EQ(wallet["lines"], 1);

    for (const json& t : texts(d.report["root"])) {
      if (t["string"] != "$1,000,000,000,000,000") continue;
      // Too wide for the small widget at full size; the medium one has room for it.
      EXPECT_EQ(t["shrunk"], std::string(family) == "small");
      EXPECT_EQ(t["lines"], 1);
      double size = t["fontSize"];
      EXPECT_LT(size, 18.0);
    }
    for (const char* caption : {"Income", "Expense", "Balance"}) {
      json t = textNamed(d, caption);
      EXPECT_EQ(t["shrunk"], false) << caption;
      EXPECT_EQ(t["truncated"], false) << caption;
    }
    // Nothing reaches past the widget's edges.
    double width = d.report["size"]["width"];
    for (const json& t : texts(d.report["root"])) {
      double right = double(t["frame"]["x"]) + double(t["frame"]["width"]);
      EXPECT_LE(right, width - 15.9) << t["string"];
    }
  }
}

}  // namespace
