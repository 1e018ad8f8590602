// The host's command line, run as a user runs it.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include "support/RunProgram.h"
#include "support/TestDevice.h"

namespace {

using nlohmann::json;
using testing_support::runWidgets;

const std::string kNow = "--now=2026-01-01T09:00:00Z";

std::string containerWith(const std::string& plist) {
  std::string dir = testing_support::makeTempDirectory();
  std::filesystem::create_directories(dir + "/Library/Preferences");
  std::ofstream(dir + "/Library/Preferences/group.com.tamsaledger.app.plist") << plist;
  return dir;
}

TEST(HostCommandLine, TimelineOfTheSampleContainer) {
  auto r = runWidgets({"timeline", "TamsaWidget", kNow});
  ASSERT_EQ(r.status, 0) << r.err;
  json t = json::parse(r.out);
  ASSERT_EQ(t["entries"].size(), 1u);
  const auto& e = t["entries"][0];
  EXPECT_EQ(e["date"], "2026-01-01T09:00:00.000Z");
  EXPECT_EQ(e["isLoggedIn"], true);
  EXPECT_EQ(e["currencySymbol"], "$");
  EXPECT_EQ(t["policy"], (json{{"type", "after"}, {"date", "2026-01-01T10:00:00.000Z"}}));
  std::vector<std::string> keys;
  for (auto it = e.begin(); it != e.end(); ++it) keys.push_back(it.key());
  EXPECT_EQ(keys.size(), 9u);
}

TEST(HostCommandLine, OptionsMayStandBeforeOrAfterTheCommand) {
  auto before = runWidgets({kNow, "--language", "de", "snapshot", "TamsaWidget"});
  auto after = runWidgets({"snapshot", "TamsaWidget", "--language=de", kNow});
  ASSERT_EQ(before.status, 0) << before.err;
  EXPECT_EQ(before.out, after.out);
  EXPECT_EQ(json::parse(before.out)["periodLabel"], "Dieser Monat");
}

TEST(HostCommandLine, PreviewSnapshotAndPlaceholderAreTheSample) {
  for (auto args : {std::vector<std::string>{"snapshot", "TamsaWidget", "--preview", kNow},
                    std::vector<std::string>{"placeholder", "TamsaWidget", kNow}}) {
    auto r = runWidgets(args);
    ASSERT_EQ(r.status, 0) << r.err;
    json e = json::parse(r.out);
    EXPECT_EQ(e["balance"], 2350);
    EXPECT_EQ(e["walletLabel"], "All Wallets");
    EXPECT_EQ(e["lastUpdate"], "2026-01-01T09:00:00.000Z");
  }
}

TEST(HostCommandLine, ContainerFromTheEnvironmentAndMissingContainerFallback) {
  auto r = runWidgets({"snapshot", "TamsaWidget", kNow},
                      {"TAMSA_APP_GROUP_CONTAINER=/nonexistent/container"});
  ASSERT_EQ(r.status, 0) << r.err;
  json e = json::parse(r.out);
  EXPECT_EQ(e["isLoggedIn"], false);
  EXPECT_EQ(e["periodLabel"], "This Month");
  EXPECT_EQ(e["lastUpdate"], nullptr);
}

TEST(HostCommandLine, NonFiniteAmountsStayValidJson) {
  auto dir = containerWith(testing_support::xmlPlist(
      {{"widget_balance", testing_support::Real{1e308}}, {"widget_income", std::string("1e999")}}));
  auto r = runWidgets({"snapshot", "TamsaWidget", "--container", dir, kNow});
  ASSERT_EQ(r.status, 0) << r.err;
  json e = json::parse(r.out);
  EXPECT_EQ(e["balance"], 1e308);
  EXPECT_EQ(e["income"], "Infinity");
}

TEST(HostCommandLine, MistakesExitWithStatus2AndOneLine) {
  struct Case {
    std::vector<std::string> args;
    std::string mentions;
  };
  const std::string out = testing_support::makeTempDirectory() + "/x.png";
  const std::string control = "com.tamsaledger.app.AddTransactionControl";
  for (const auto& c : std::vector<Case>{
           {{"timeline", "NoSuchWidget"}, "TamsaWidget"},
           {{"frobnicate", "TamsaWidget"}, "frobnicate"},
           {{"timeline"}, "KIND"},
           {{"timeline", "TamsaWidget", "--now", "yesterday"}, "--now"},
           {{"timeline", "TamsaWidget", "--bogus"}, "--bogus"},
           {{"timeline", "TamsaWidget", "--time-zone", "Mars/Olympus"}, "--time-zone"},
           {{"timeline", "TamsaWidget", "--os", "seventeen"}, "--os"},
           {{}, "placeholder"},
           // What a widget does not offer is refused before anything is drawn.
           {{"render", "TamsaAddTransactionWidget", "--family", "medium", "-o", out},
            "offered: small"},
           {{"render", "TamsaWidget", "-o", out}, "small, medium"},
           {{"render", control, "--os", "17.0", "-o", out}, "17.0"},
           {{"render", "TamsaWidget", "--family", "small", "-o", out + ".gif"}, ".gif"},
           // A control has no entries or link of its own; a widget has no intent.
           {{"timeline", control}, "is a control"},
           {{"tap", control}, "is a control"},
           {{"perform", "TamsaWidget"}, "is a widget"},
           {{"render", "TamsaWidget", "--family", "small", "--device", "nokia", "-o", out},
            "iphone15"},
       }) {
    auto r = runWidgets(c.args);
    EXPECT_EQ(r.status, 2) << c.mentions;
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(c.mentions), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(HostCommandLine, HelpExitsCleanly) {
  auto r = runWidgets({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("--container"), std::string::npos);
}

}  // namespace
