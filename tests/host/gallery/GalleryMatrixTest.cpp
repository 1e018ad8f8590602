// The gallery over named scenarios, as a user runs it: each scenario drawn in its own state,
// shards that join into exactly the gallery one run draws, and shard manifests (and pictures)
// checked before use.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "host/matrix/CellMatrix.h"
#include "support/CraftedPng.h"
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
  // No progress line when standard error is not a terminal: only the findings' lines.
  std::istringstream err(r.err);
  for (std::string line; std::getline(err, line);)
    EXPECT_TRUE(line.starts_with("warning: ") || line.find(": error: ") != std::string::npos)
        << line;
  EXPECT_GE(json::parse(r.out)["pictures"].get<int>(), 15 * 8);
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
  for (const auto& c : cases) {
    const std::string report = readFile(out / c.scenario / "en" / (std::string(c.cell) + ".json"));
    EXPECT_NE(report.find(c.shown), std::string::npos) << c.scenario;
  }
  EXPECT_TRUE(fs::exists(out / "rtl-wallet-name" / "en.png"));
  json findings = json::parse(readFile(out / "findings.json"))["findings"];
  ASSERT_FALSE(findings.empty());
  EXPECT_TRUE(findings[0]["pictures"][0].contains("scenario"));
}

// Every cell falls in exactly one shard of N, and the shards share the cells out.
TEST(GalleryMatrix, EachCellIsInExactlyOneShard) {
  for (int count = 1; count <= 5; ++count) {
    std::vector<int> sizes(static_cast<std::size_t>(count));
    for (int cell = 0; cell < 300; ++cell) {
      const std::string name = "signed-out/en/TamsaWidget-small-light-" + std::to_string(cell);
      int holders = 0;
      for (int index = 1; index <= count; ++index)
        if (host::inShard(name, {index, count})) {
          ++holders;
          ++sizes[static_cast<std::size_t>(index - 1)];
        }
      EXPECT_EQ(holders, 1) << name << " of " << count;
    }
    for (int size : sizes) EXPECT_GT(size, 300 / count / 2) << count;
  }
}

TEST(GalleryMatrix, ShardsJoinIntoTheWholeGallery) {
  fs::path base = testing_support::makeTempDirectory();
  // At scale 2, so that a merged sheet must show its pictures at the shards' scale.
  auto run = [&](std::vector<std::string> args, const char* scale = "2") {
    args.insert(args.begin(), {"gallery", "--scenario", "signed-out,month-one-wallet", "--language",
                               "en,de", "--scale", scale});
    return runWidgets(args);
  };
  auto whole = run({"-o", (base / "whole").string()});
  ASSERT_EQ(whole.status, 0);
  std::vector<std::string> shards;
  for (const char* shard : {"1/3", "2/3", "3/3"}) {
    fs::path dir = base / (std::string("shard") + shard[0]);
    auto r = run({"--shard", shard, "-o", dir.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    shards.push_back(dir.string());
  }
  auto merge = [&](const std::string& out, std::vector<std::string> dirs) {
    dirs.insert(dirs.begin(), {"gallery", "-o", (base / out).string(), "--merge"});
    return runWidgets(dirs);
  };
  auto refused = [&](const std::string& says, const std::vector<std::string>& dirs) {
    auto r = merge("refused", dirs);
    EXPECT_EQ(r.status, 1) << says;
    EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(base / "refused"));
  };
  // Given in any order, even one shard twice, they make what one run made, in its order.
  auto merged = merge("merged", {shards[2], shards[0], shards[1], shards[2]});
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_EQ(picturesIn(base / "merged"), picturesIn(base / "whole"));
  for (const char* file : {"gallery.json", "findings.json", "index.html", "signed-out/en.png",
                           "month-one-wallet/de.png"})
    EXPECT_TRUE(readFile(base / "merged" / file) == readFile(base / "whole" / file)) << file;
  json summary = json::parse(merged.out), expected = json::parse(whole.out);
  EXPECT_TRUE(summary["findings"] == expected["findings"]);
  ASSERT_EQ(summary["sheets"].size(), 4u);
  for (std::size_t i = 0; i < 4; ++i)
    EXPECT_EQ(fs::relative(summary["sheets"][i].get<std::string>(), base / "merged"),
              fs::relative(expected["sheets"][i].get<std::string>(), base / "whole"));

  // Some shards only, or shards drawn with other options, are not the gallery.
  refused("shards 2/3, 3/3 are missing", {shards[0], shards[0]});
  ASSERT_EQ(run({"--shard", "2/3", "-o", (base / "larger").string()}, "1").status, 0);
  refused("different options (scale 1.0 and 2.0)",
          {shards[0], (base / "larger").string(), shards[2]});

  // The same cell drawn differently in two shards is an error, not a choice.
  fs::copy(shards[0], base / "again", fs::copy_options::recursive);
  const std::string cell =
      json::parse(readFile(shards[0] + "/gallery.json"))["pictures"][0]["picture"];
  fs::copy_file(base / "whole" / "signed-out/en.png", base / "again" / cell,
                fs::copy_options::overwrite_existing);
  refused(cell + " is in " + shards[0],
          {shards[0], shards[1], shards[2], (base / "again").string()});
  // A picture claiming to be larger than any widget is refused from its header.
  std::ofstream(base / "again" / cell, std::ios::trunc) << testing_support::pngClaiming(8192, 8192);
  refused("8192 × 8192 px, larger than any widget",
          {(base / "again").string(), shards[1], shards[2]});
  // ... but the widest phone's medium widget at the largest scale is not.
  const std::string widest = (base / "widest").string();
  ASSERT_EQ(runWidgets({"gallery", "--scenario", "signed-out", "--language", "en", "--scale", "3",
                        "--device", "iphone15promax", "--shard", "1/1", "-o", widest})
                .status,
            0);
  EXPECT_EQ(merge("widest-merged", {widest}).status, 0);

  // A manifest naming a file outside its gallery is refused; nothing is made.
  fs::path manifest = base / "shard1" / "gallery.json";
  std::string text = readFile(manifest);
  text.replace(text.find("\"picture\": \"") + 12, 0, "../../");
  std::ofstream(manifest, std::ios::trunc) << text;
  refused("outside its gallery", {shards[0]});
  // So is one that names a count but not which part it holds.
  json part = json::parse(readFile(shards[1] + "/gallery.json"));
  part["shard"].erase("index");
  std::ofstream(shards[1] + "/gallery.json", std::ios::trunc) << part.dump();
  refused("does not say which shard it holds", {shards[1]});
}

}  // namespace
