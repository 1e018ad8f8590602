#include "platform/foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include "platform/os/MemoryFileSystem.h"

namespace foundation {
namespace {

std::string suite(const std::string& value) {
  return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>k</key>" + value +
         "</dict></plist>";
}

std::optional<UserDefaults> openWith(std::string bytes) {
  os::MemoryFileSystem fs;
  fs.addFile("/c/Library/Preferences/s.plist", std::move(bytes));
  return UserDefaults::open(fs, "/c", "s");
}

// Each kind of value a host might store, as stringForKey and doubleForKey read it (nullptr:
// absent).
TEST(UserDefaults, CoercesValuesTheWayTheDeviceDoes) {
  std::vector<std::tuple<std::string, std::optional<std::string>, double>> cases = {
      {"<integer>-7</integer>", "-7", -7},
      {"<integer>18446744073709551615</integer>", "18446744073709551615", 0x1p64},
      {"<real>1700000000000</real>", "1700000000000", 1.7e12},
      {"<real>-1.5e20</real>", "-1.5e+20", -1.5e20},
      {"<real>-12.25</real>", "-12.25", -12.25},
      {"<true/>", "1", 1},
      {"<real>0</real>", "0", 0},
      {"<date>2023-11-14T22:13:20Z</date>", std::nullopt, 0},
      {"<array><string>12</string></array>", std::nullopt, 0},
  };
  // Text read as a number: its leading number in the C locale, after any white space.
  const std::pair<std::string, double> texts[] = {
      {"logged_in", 0}, {"\t\n2.5e3xyz", 2500},
      {"3,75", 3},      {"\u00a0\u3000-8", -8},
      {"inf", 0},       {"0x10", 0},
      {"+-3", 0},       {"\u2000\u200a7", 7},
      {"\u200b7", 0},  // a zero-width space is not white space
  };
  for (const auto& [text, asDouble] : texts)
    cases.emplace_back("<string>" + text + "</string>", text, asDouble);
  for (const auto& [value, asString, asDouble] : cases) {
    auto store = openWith(suite(value));
    EXPECT_EQ(store->stringForKey("k"), asString) << value;
    EXPECT_EQ(store->doubleForKey("k"), asDouble) << value;
  }
}

TEST(UserDefaults, NeedsAContainerAndReadsBadFilesAsAnEmptyStore) {
  os::MemoryFileSystem fs;
  fs.addFile("/empty/Library/secret.plist", suite("<string>v</string>"));
  EXPECT_FALSE(UserDefaults::open(fs, "/missing", "s"));
  // No suite file yet, and a suite name that would leave the preferences directory.
  EXPECT_EQ(UserDefaults::open(fs, "/empty", "s")->stringForKey("k"), std::nullopt);
  EXPECT_EQ(UserDefaults::open(fs, "/empty", "../secret")->stringForKey("k"), std::nullopt);
  const std::string kept = suite("<string>v</string>");
  EXPECT_EQ(openWith(kept)->stringForKey("k"), "v");
  EXPECT_EQ(openWith(kept + std::string(UserDefaults::maxFileBytes, ' '))->stringForKey("k"),
            std::nullopt);
}

// A suite file that another process keeps rewriting: each reading returns the next version.
struct ChangingFile final : os::FileSystem {
  os::FileKind kind(const std::string& path) const override {
    return path == "/c" ? os::FileKind::directory : os::FileKind::file;
  }
  std::optional<std::string> readFile(const std::string&, std::size_t) const override {
    return suite(versions[std::min(reads++, versions.size() - 1)]);
  }
  std::vector<std::string> listDirectory(const std::string&) const override { return {}; }
  std::vector<std::string> versions;
  mutable std::size_t reads = 0;
};

TEST(UserDefaults, WhileRewrittenReadsUntilTwoReadingsAgreeElseIsEmpty) {
  // A torn reading (valid, but a mix) is followed by two readings of the new version.
  ChangingFile settling;
  settling.versions = {"<string>torn</string>", "<string>new</string>", "<string>new</string>"};
  EXPECT_EQ(UserDefaults::open(settling, "/c", "s")->stringForKey("k"), "new");
  EXPECT_EQ(settling.reads, 3u);
  ChangingFile restless;
  for (int i = 0; i < 20; ++i) restless.versions.push_back(i % 2 ? "<true/>" : "<false/>");
  EXPECT_EQ(UserDefaults::open(restless, "/c", "s")->stringForKey("k"), std::nullopt);
}

}  // namespace
}  // namespace foundation
