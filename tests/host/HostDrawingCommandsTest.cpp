// The host's drawing and bundle commands, run as a user runs them.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include "support/RunProgram.h"

namespace {

using nlohmann::json;
using testing_support::runWidgets;

const std::string kNow = "--now=2026-12-06T12:00:00Z";
const std::string kControl = "com.tamsaledger.app.AddTransactionControl";

json readJson(const std::string& path) {
  std::ifstream in(path);
  return json::parse(in);
}

TEST(WidgetsCommand, DeclaresInOrderWithTheControlFrom18) {
  auto on17 = runWidgets({"widgets", "--os", "17.4"});
  ASSERT_EQ(on17.status, 0) << on17.err;
  json w = json::parse(on17.out);
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ(w[0]["kind"], "TamsaWidget");
  EXPECT_EQ(w[0]["families"], (json{"small", "medium"}));
  EXPECT_EQ(w[1]["kind"], "TamsaAddTransactionWidget");
  EXPECT_EQ(w[1]["families"], (json{"small"}));

  auto on18 = runWidgets({"widgets", "--os", "18.0", "--language", "de"});
  json c = json::parse(on18.out);
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[2], (json{{"kind", kControl},
                        {"type", "control"},
                        {"displayName", "Transaktion hinzufügen"},
                        {"description", "Füge schnell eine neue Transaktion hinzu."}}));
  EXPECT_EQ(c[0]["displayName"], "Tamsa");
}

TEST(PerformCommand, PrintsTheAddTransactionLinkOnlyWhereTheControlIsOffered) {
  auto r = runWidgets({"perform", kControl});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "tamsaledger://app/addTransactionChatMode\n");
  auto old = runWidgets({"perform", kControl, "--os", "17.5"});
  EXPECT_EQ(old.status, 2);
  EXPECT_NE(old.err.find("not offered on iOS 17.5"), std::string::npos) << old.err;
}

TEST(TapCommand, EachWidgetOpensItsLink) {
  EXPECT_EQ(runWidgets({"tap", "TamsaWidget"}).out, "tamsaledger://widget\n");
  EXPECT_EQ(runWidgets({"tap", "TamsaWidget", "--family", "medium", "--container", "/nowhere"}).out,
            "tamsaledger://widget\n");
  EXPECT_EQ(runWidgets({"tap", "TamsaAddTransactionWidget"}).out,
            "tamsaledger://app/addTransactionChatMode\n");
}

// Pictures and reports of the widgets: RenderCommandsTest; refusals: HostCommandLineTest.
TEST(RenderCommand, DrawsTheControl) {
  std::string dir = testing_support::makeTempDirectory();
  auto control = runWidgets(
      {"render", kControl, "-o", dir + "/control.png", "--layout", dir + "/control.json"});
  ASSERT_EQ(control.status, 0) << control.err;
  EXPECT_EQ(readJson(dir + "/control.json")["root"]["children"][1]["string"], "Add Transaction");
}

TEST(GalleryCommand, DrawsEveryWidgetPerLanguageAndListsFlaggedTexts) {
  std::string dir = testing_support::makeTempDirectory() + "/gallery";
  auto r = runWidgets({"gallery", "-o", dir, "--language", "en,ja", "--scale", "1", kNow});
  ASSERT_EQ(r.status, 0) << r.err;
  json summary = json::parse(r.out);
  // Per language: summary small and medium, quick-add small, the control; light and dark.
  EXPECT_EQ(summary["pictures"], 16);
  for (const char* file : {"/index.html", "/en.png", "/ja.png", "/findings.json",
                           "/en/TamsaWidget-medium-dark.png", "/ja/TamsaWidget-small-light.json"})
    EXPECT_TRUE(std::filesystem::exists(dir + file)) << file;
  // The sample wallet's name does not fit the small widget's header line.
  bool cutHeader = false;
  for (const auto& f : summary["findings"])
    // value(): an overflow finding has no "string", and const operator[] may not be asked for a
    // key that is missing.
    cutHeader |= f.value("string", "") == "Everyday Checking" && f.value("problems", "") == "cut" &&
                 f.value("family", "") == "small";
  EXPECT_TRUE(cutHeader);
  EXPECT_EQ(readJson(dir + "/findings.json"), summary["findings"]);
}

}  // namespace
