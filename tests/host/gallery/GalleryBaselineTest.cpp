// The gallery as a CI gate: with the repository's baseline, a new German caption too long for the
// small widget fails the run with one error at its table's line, and moving unrelated lines of
// that table does not.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "support/RunProgram.h"

namespace {

namespace fs = std::filesystem;
using testing_support::runWidgets;

// Every line of the text that says "error:".
std::vector<std::string> errorLines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.find(": error: ") != std::string::npos) out.push_back(line);
  return out;
}

TEST(GalleryBaseline, ANewCaptionTooLongFailsWithOneErrorAndMovedLinesDoNot) {
  const fs::path base = testing_support::makeTempDirectory();
  const fs::path resources = base / "resources",
                 table = resources / "de.lproj" / "Localizable.strings";
  fs::copy(TAMSA_RESOURCES_DIR, resources, fs::copy_options::recursive);
  const std::string original = testing_support::readFile(table.string());
  const std::string baseline =
      (fs::path(TAMSA_RESOURCES_DIR).parent_path() / "findings-baseline.json").string();
  auto gallery = [&](const std::string& content) {
    std::ofstream(table) << content;
    return runWidgets({"gallery", "-o", (base / "g").string(), "--scale", "1", "--resources",
                       resources.string(), "--scenario", "all", "--language", "de,en", "--baseline",
                       baseline});
  };

  // Unrelated lines moved: comments on top, the last two entries swapped. Nothing is new.
  const std::string month = "\"widget_period_month\" = \"Dieser Monat\";\n";
  std::string moved = "/* moved */\n\n/* about */\n" + original;
  auto last = moved.rfind('\n', moved.size() - 2), before = moved.rfind('\n', last - 1);
  moved = moved.substr(0, before + 1) + moved.substr(last + 1) +
          moved.substr(before + 1, last - before);
  auto r = gallery(moved);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(errorLines(r.err).empty()) << r.err;

  // The month's caption made too long for the small widget's header.
  std::string longer = original;
  ASSERT_NE(longer.find(month), std::string::npos);
  longer.replace(longer.find(month), month.size(),
                 "\"widget_period_month\" = \"Im laufenden Kalendermonat\";\n");
  r = gallery(longer);
  EXPECT_EQ(r.status, 3) << r.err;
  const auto errors = errorLines(r.err);
  ASSERT_EQ(errors.size(), 1u) << r.err;
  EXPECT_TRUE(std::regex_search(
      errors[0], std::regex("de\\.lproj/Localizable\\.strings:5: error: .*widget_period_month")))
      << errors[0];
}

}  // namespace
