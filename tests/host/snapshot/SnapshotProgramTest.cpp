// snapshot record and verify as a user runs them: a doctored recording fails with the
// differences in words (a text's colour even under a generous pixel threshold, a picture claiming
// a size no widget has), a report is written, and --update brings the recording back in line
// and says what it did, leaving alone what lies behind a symbolic link.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include "support/CraftedPng.h"
#include "support/RunProgram.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing_support::readFile;
using testing_support::runWidgets;

void write(const fs::path& path, const std::string& text) {
  std::ofstream(path) << text;
}

TEST(SnapshotProgram, VerifySaysWhatChangedAndUpdateRecordsIt) {
  fs::path base = testing_support::makeTempDirectory(), dir = base / "snapshots";
  auto recorded = runWidgets({"snapshot", "record", dir.string(), "--scenario", "signed-out",
                              "--language", "de", "--scale", "1"});
  ASSERT_EQ(recorded.status, 0) << recorded.err;
  json manifest = json::parse(readFile(dir / "manifest.json"));
  ASSERT_EQ(manifest["cells"].size(), 8u);
  ASSERT_FALSE(manifest["fonts"].empty());
  EXPECT_EQ(manifest["fonts"][0]["sha256"].get<std::string>().size(), 64u);
  EXPECT_EQ(runWidgets({"snapshot", "verify", dir.string()}).status, 0);

  // The recording's text is now red, bigger and lower; the pixel threshold forgives anything.
  const std::string cell = "signed-out/de/TamsaWidget-small-light";
  json report = json::parse(readFile(dir / (cell + ".json")));
  json* text = nullptr;
  auto find = [&](json& node, auto& self) -> void {
    if (!text && node.contains("string")) text = &node;
    for (json& c : node["children"]) self(c, self);
  };
  find(report["root"], find);
  ASSERT_NE(text, nullptr);
  const std::string shown = (*text)["string"], colour = (*text)["color"];
  (*text)["color"] = "#FF0000";
  (*text)["frame"]["y"] = (*text)["frame"]["y"].get<double>() - 3;
  write(dir / (cell + ".json"), report.dump(2) + "\n");
  manifest["pixelThreshold"]["pixels"] = 1000000;
  manifest["cells"].push_back("signed-out/de/Gone-small-light");
  // A gone cell reached through a symbolic link: neither it nor what it leads to is removed.
  manifest["cells"].push_back("linked/de/Gone-small-light");
  fs::create_directories(base / "elsewhere" / "de");
  write(base / "elsewhere" / "de" / "Gone-small-light.png", "keep");
  fs::create_directory_symlink(base / "elsewhere", dir / "linked");
  write(dir / "manifest.json", manifest.dump(1));
  fs::remove(dir / "signed-out/de/TamsaWidget-medium-dark.png");
  // A gamma chunk: the same pixels, shown in other colours.
  const fs::path gamma = dir / "signed-out/de/TamsaWidget-medium-light.png";
  write(gamma, testing_support::withGamma(readFile(gamma.string())));
  // 67,108,864 x 1 pixels, judged by its header and never decoded.
  write(dir / "signed-out/de/TamsaWidget-small-dark.png",
        testing_support::pngClaiming(1u << 26, 1));

  auto verified = runWidgets({"snapshot", "verify", dir.string(), "-o", (base / "r").string()});
  EXPECT_EQ(verified.status, 3) << verified.err;  // found differences: not a failure to run
  for (const std::string& words : std::vector<std::string>{
           cell + ": \"" + shown + "\" colour #FF0000 → " + colour + "; \"" + shown +
               "\" moved down 3 pt",
           "signed-out/de/TamsaWidget-medium-dark: the recorded picture is missing",
           "signed-out/de/TamsaWidget-small-dark: picture size 67108864 × 1 → 158 × 158",
           "signed-out/de/Gone-small-light: gone",
           "TamsaWidget-medium-light: the recorded picture has a gAMA chunk",
           "10 cells: 4 changed, 0 new, 2 gone, 4 unchanged"})
    EXPECT_NE(verified.out.find(words), std::string::npos) << words << "\n" << verified.out;
  json machine = json::parse(readFile(base / "r" / "report.json"));
  EXPECT_TRUE(fs::exists(base / "r" / machine["cells"][0]["difference"].get<std::string>()));
  EXPECT_NE(readFile(base / "r" / "report.html").find("swipe"), std::string::npos);

  auto updated = runWidgets({"snapshot", "verify", dir.string(), "--update"});
  EXPECT_EQ(updated.status, 1);
  EXPECT_NE(updated.out.find("recorded again: 4 cells; removed: 1\n"), std::string::npos)
      << updated.out;
  EXPECT_NE(updated.err.find("linked/de/Gone-small-light (not removed: through a symbolic link)"),
            std::string::npos)
      << updated.err;
  EXPECT_EQ(json::parse(readFile(dir / "manifest.json"))["cells"].size(), 9u);
  EXPECT_EQ(readFile(base / "elsewhere" / "de" / "Gone-small-light.png"), "keep");
  fs::remove(dir / "linked");
  updated = runWidgets({"snapshot", "verify", dir.string(), "--update"});
  EXPECT_EQ(updated.status, 0) << updated.err;
  EXPECT_NE(updated.out.find("recorded again: 0 cells; removed: 1\n"), std::string::npos);
  auto again = runWidgets({"snapshot", "verify", dir.string()});
  EXPECT_EQ(again.status, 0) << again.out;
  EXPECT_EQ(json::parse(readFile(dir / "manifest.json"))["cells"].size(), 8u);

  EXPECT_EQ(runWidgets({"snapshot", "verify", dir.string(), "--language", "en"}).status, 2);
}

}  // namespace
