// The gallery over named scenarios, as a user runs it: each scenario drawn in its own state,
// shards that join into the whole, and scenario files and shard manifests checked before use.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <set>

#include "support/RunProgram.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing_support::readFile;
using testing_support::runWidgets;

std::set<std::string> picturesIn(const fs::path& dir) {
  std::set<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.path().extension() == ".png") out.insert(fs::relative(e.path(), dir).string());
  return out;
}

TEST(GalleryMatrix, EachScenarioIsDrawnInItsOwnState) {
  fs::path out = fs::path(testing_support::makeTempDirectory()) / "g";
  auto r = runWidgets(
      {"gallery", "--scenario", "all", "--language", "en", "--scale", "1", "-o", out.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");  // no progress line when standard error is not a terminal
  EXPECT_GE(json::parse(r.out)["pictures"].get<int>(), 15 * 8);
  auto report = [&](const std::string& scenario, const std::string& cell) {
    return readFile((out / scenario / "en" / (cell + ".json")).string());
  };
  struct Case {
    const char *scenario, *cell, *shown;
  } cases[] = {
      {"no-container", "TamsaWidget-small-light", "Sign in to Tamsa to see your balance"},
      {"signed-out", "TamsaWidget-medium-dark", "Sign in to Tamsa to see your balance"},
      {"near-trillion", "TamsaWidget-medium-light", "$999,999,999,999.99"},
      {"negative-balance-yesterday", "TamsaWidget-medium-light", "19:05"},  // Berlin, 24-hour
      {"language-override", "TamsaWidget-small-light", "残高"},
      {"language-override-missing", "TamsaWidget-small-light", "Balance"},
  };
  for (const auto& c : cases)
    EXPECT_NE(report(c.scenario, c.cell).find(c.shown), std::string::npos) << c.scenario;
  EXPECT_TRUE(fs::exists(out / "rtl-wallet-name" / "en.png"));
  json findings = json::parse(readFile((out / "findings.json").string()));
  ASSERT_FALSE(findings.empty());
  EXPECT_TRUE(findings[0].contains("scenario"));
}

TEST(GalleryMatrix, ShardsJoinIntoTheWholeGallery) {
  fs::path base = testing_support::makeTempDirectory();
  std::vector<std::string> common = {"gallery",    "--scenario", "signed-out,month-one-wallet",
                                     "--language", "en,de",      "--scale",
                                     "1"};
  auto run = [&](std::vector<std::string> more) {
    std::vector<std::string> args = common;
    args.insert(args.end(), more.begin(), more.end());
    return runWidgets(args);
  };
  ASSERT_EQ(run({"-o", (base / "whole").string()}).status, 0);
  std::vector<std::string> merge = {"gallery", "-o", (base / "merged").string(), "--merge"};
  for (const char* shard : {"1/3", "2/3", "3/3"}) {
    fs::path dir = base / (std::string("shard") + shard[0]);
    auto r = run({"--shard", shard, "-o", dir.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    merge.push_back(dir.string());
  }
  auto merged = runWidgets(merge);
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_EQ(picturesIn(base / "merged"), picturesIn(base / "whole"));
  EXPECT_EQ(json::parse(merged.out)["pictures"], 2 * 2 * 8);

  // A manifest naming a file outside its gallery is refused; nothing is made.
  fs::path manifest = base / "shard1" / "gallery.json";
  std::string text = readFile(manifest.string());
  text.replace(text.find("\"picture\": \"") + 12, 0, "../../");
  std::ofstream(manifest, std::ios::trunc) << text;
  auto hostile =
      runWidgets({"gallery", "-o", (base / "m2").string(), "--merge", (base / "shard1").string()});
  EXPECT_EQ(hostile.status, 1);
  EXPECT_NE(hostile.err.find("outside its gallery"), std::string::npos) << hostile.err;
  EXPECT_FALSE(fs::exists(base / "m2"));
}

TEST(GalleryMatrix, ScenarioFilesAreCheckedBeforeAnythingIsDrawn) {
  fs::path dir = testing_support::makeTempDirectory();
  struct Case {
    const char *name, *content, *said;
  } cases[] = {
      {"not-json", "{\"description\": ", "not-json.json"},
      {"no-store", "{\"description\": \"d\"}", "\"store\" is missing"},
      {"typo", "{\"description\": \"d\", \"store\": null, \"devise\": {}}", "unknown field"},
      {"bad-zone", "{\"description\": \"d\", \"store\": {}, \"device\": {\"time-zone\": \"Mars\"}}",
       "device.time-zone: 'Mars'"},
      {"bad-value", "{\"description\": \"d\", \"store\": {\"k\": null}}", "k"},
  };
  for (const auto& c : cases) {
    std::ofstream(dir / (std::string(c.name) + ".json")) << c.content;
    auto r = runWidgets({"gallery", "--scenarios", dir.string(), "--scenario", c.name, "-o",
                         (dir / "out").string()});
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_NE(r.err.find(c.said), std::string::npos) << c.name << ": " << r.err;
  }
  auto unknown = runWidgets(
      {"gallery", "--scenarios", dir.string(), "--scenario", "nope", "-o", (dir / "out").string()});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("bad-value, bad-zone"), std::string::npos) << unknown.err;
  EXPECT_FALSE(fs::exists(dir / "out"));
}

}  // namespace
