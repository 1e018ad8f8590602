// The host program run as a user runs it: what it prints, its exit statuses (0 done, 1 could not
// be done, 2 usage, 3 a check found problems), and that it never writes outside what it was asked
// to write.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "drawing/WidgetRenderer.h"
#include "support/RunProgram.h"
#include "support/TestDevice.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing_support::runWidgets;

const std::string kNow = "--now=2026-01-01T09:00:00Z";
const std::string kControl = "com.tamsaledger.app.AddTransactionControl";

std::size_t entriesIn(const fs::path& dir) {
  return static_cast<std::size_t>(
      std::distance(fs::recursive_directory_iterator(dir), fs::recursive_directory_iterator()));
}

// Options stand anywhere; a POSIX system language reaches the bundle's script variant.
TEST(HostProgram, TimelineOfTheSampleContainer) {
  auto r = runWidgets({kNow, "timeline", "TamsaWidget", "--os=17.0"}, {"LC_ALL=zh_CN.UTF-8"});
  ASSERT_EQ(r.status, 0) << r.err;
  json t = json::parse(r.out);
  ASSERT_EQ(t["entries"].size(), 1u);
  EXPECT_EQ(t["entries"][0]["date"], "2026-01-01T09:00:00.000Z");
  EXPECT_EQ(t["entries"][0]["periodLabel"], "本月");
  EXPECT_EQ(t["entries"][0].size(), 9u);
  EXPECT_EQ(t["policy"], (json{{"type", "after"}, {"date", "2026-01-01T10:00:00.000Z"}}));
  fs::path container = testing_support::makeTempDirectory(),
           prefs = container / "Library/Preferences";
  fs::create_directories(prefs);
  std::ofstream(prefs / "group.com.tamsaledger.app.plist")
      << testing_support::xmlPlist({{"widget_auth_status", std::string("logged_in")},
                                    {"widget_wallet_names", std::string("Zeta")}});
  r = runWidgets({"snapshot", "TamsaWidget", "--container", container.string()});
  EXPECT_EQ(json::parse(r.out)["walletLabel"], "Zeta");
}

TEST(HostProgram, RequestsAndTheirLinks) {
  EXPECT_EQ(runWidgets({"tap", "TamsaWidget", "--family", "medium"}).out, "tamsaledger://widget\n");
  EXPECT_EQ(runWidgets({"tap", "TamsaAddTransactionWidget"}).out,
            "tamsaledger://app/addTransactionChatMode\n");
  EXPECT_EQ(runWidgets({"perform", kControl}).out, "tamsaledger://app/addTransactionChatMode\n");
  EXPECT_EQ(json::parse(runWidgets({"widgets", "--language", "de"}).out)[2]["displayName"],
            "Transaktion hinzufügen");
}

TEST(HostProgram, UsageMistakesExit2WithOneEscapedLine) {
  const std::string out = testing_support::makeTempDirectory() + "/x.png";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"timeline", "NoSuch\x1b[31mWidget"}, "NoSuch\\x1b[31mWidget"},
      {{"timeline", kControl}, "is a control"},
      {{"perform", "TamsaWidget"}, "is a widget"},
      {{"perform", kControl, "--os", "17.5"}, "not offered on iOS 17.5"},
      {{"tap", "TamsaAddTransactionWidget", "--family", "medium"}, "offered: small"},
      {{"render", "TamsaWidget", "-o", out}, "small, medium"},
      {{"render", kControl, "--os", "17.0", "-o", out}, "17.0"},
      {{"render", "TamsaWidget", "--family", "small", "-o", out + ".gif"}, ".gif"},
  };
  for (const auto& [args, mentions] : cases) {
    auto r = runWidgets(args);
    EXPECT_EQ(r.status, 2) << mentions;
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(mentions), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(out));
}

// What render writes: the picture and its report (that they are written whole, both or neither,
// is OutputFiles' test).
TEST(HostProgram, RenderWritesThePictureAndItsReport) {
  fs::path dir = testing_support::makeTempDirectory();
  // What succeeds: the control in the system's language at the default scale of 2, and a
  // widget in the machine's time zone.
  auto ok = runWidgets(
      {"render", kControl, "-o", (dir / "c.png").string(), "--layout", (dir / "c.json").string()});
  ASSERT_EQ(ok.status, 0) << ok.err;
  std::string report = testing_support::readFile((dir / "c.json").string());
  EXPECT_NE(report.find("\"drawn\": \"Add Transaction\""), std::string::npos);
  EXPECT_NE(report.find("\"language\": \"en\""), std::string::npos);
  EXPECT_EQ(drawing::readPng((dir / "c.png").string())->width, 240);
  ok = runWidgets({"render", "TamsaWidget", "--family=medium", "--entry=placeholder", kNow, "-o",
                   (dir / "m.svg").string(), "--layout", (dir / "m.json").string()},
                  {"TZ=Asia/Tokyo"});
  EXPECT_NE(testing_support::readFile((dir / "m.json").string()).find("6:00"), std::string::npos);
  EXPECT_NE(testing_support::readFile((dir / "m.svg").string()).find("<svg"), std::string::npos);
}

// A check that finds problems says so with its own status, not that of a job it could not do.
TEST(HostProgram, LintFindingProblemsExits3) {
  fs::path resources = testing_support::makeTempDirectory();
  fs::create_directories(resources / "en.lproj");
  std::ofstream(resources / "en.lproj" / "Localizable.strings") << "\"only\" = \"one\";\n";
  auto r = runWidgets({"lint", "--resources", resources.string()});
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_NE(r.out.find("missing"), std::string::npos) << r.out;
  EXPECT_EQ(runWidgets({"lint"}).status, 0);
}

TEST(HostProgram, GalleryKeepsNamesFromDataInsideItsFolder) {
  fs::path base = testing_support::makeTempDirectory();
  fs::path resources = base / "resources";
  for (const char* name : {"en.lproj", "...lproj", "ja.lproj"})
    fs::create_directories(resources / name);
  fs::copy_file(fs::path(TAMSA_RESOURCES_DIR) / "en.lproj" / "Localizable.strings",
                resources / "en.lproj" / "Localizable.strings");
  fs::create_directories(base / "out");
  auto r =
      runWidgets({"gallery", "-o", (base / "out" / "g").string(), "--scale", "1", "--resources",
                  resources.string(), "--language", "../outside,.,en,/abs", kNow});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(entriesIn(base), entriesIn(resources) + entriesIn(base / "out") + 2);
  json summary = json::parse(r.out);
  EXPECT_EQ(summary["pictures"], 4 * 8);
  for (const char* rule : {"\"rule\": \"past-margins\"", "\"rule\": \"typed-text-cut\""})
    EXPECT_NE(r.out.find(rule), std::string::npos) << rule;
  std::ifstream index(base / "out" / "g" / "index.html");
  std::string html((std::istreambuf_iterator<char>(index)), {});
  EXPECT_EQ(html.find("src=\"/"), std::string::npos);
  EXPECT_EQ(html.find("src=\"."), std::string::npos);
  EXPECT_TRUE(fs::exists(base / "out" / "g" / "en" / (kControl + "-control-dark.json")));
}

}  // namespace
