#include "platform/foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include "platform/os/MemoryFileSystem.h"

namespace foundation {
namespace {

const std::string kFile = "/c/Library/Preferences/s.plist";

std::string suite(const std::string& entries) {
  return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" + entries + "</dict></plist>";
}

std::optional<UserDefaults> openWith(std::string bytes) {
  os::MemoryFileSystem fs;
  fs.addFile(kFile, std::move(bytes));
  return UserDefaults::open(fs, "/c", "s");
}

// Each kind of value a host might store, as stringForKey and doubleForKey read it. Text read as a
// number: its leading number in the C locale, after any white space.
TEST(UserDefaults, CoercesValuesTheWayTheDeviceDoes) {
  struct Case {
    const char* value;
    std::optional<std::string> asString;
    double asDouble;
  };
  const std::vector<Case> cases = {
      {"<string>logged_in</string>", "logged_in", 0},
      {"<integer>-7</integer>", "-7", -7},
      {"<integer>18446744073709551615</integer>", "18446744073709551615", 18446744073709551615.0},
      {"<real>1700000000000</real>", "1700000000000", 1.7e12},
      {"<real>0.1</real>", "0.1", 0.1},
      {"<real>1.5e-7</real>", "1.5e-07", 1.5e-7},
      {"<real>1e20</real>", "1e+20", 1e20},
      {"<true/>", "1", 1},
      {"<false/>", "0", 0},
      {"<date>2023-11-14T22:13:20Z</date>", std::nullopt, 0},
      {"<data>MTI=</data>", std::nullopt, 0},
      {"<array><string>12</string></array>", std::nullopt, 0},
      {"<string>\t\n2.5e3xyz</string>", "\t\n2.5e3xyz", 2500},
      {"<string>3,75</string>", "3,75", 3},
      {"<string>\u00a0\u3000-8</string>", "\u00a0\u3000-8", -8},
      {"<string>inf</string>", "inf", 0},
      {"<string>0x10</string>", "0x10", 0},
      {"<string>+-3</string>", "+-3", 0},
      {"<string></string>", "", 0},
  };
  for (const Case& c : cases) {
    auto store = openWith(suite(std::string("<key>k</key>") + c.value));
    ASSERT_TRUE(store);
    EXPECT_EQ(store->stringForKey("k"), c.asString) << c.value;
    EXPECT_EQ(store->doubleForKey("k"), c.asDouble) << c.value;
    EXPECT_EQ(store->stringForKey("K"), std::nullopt);  // keys are case-sensitive
  }
}

TEST(UserDefaultsOpen, NeedsAContainerAndReadsBadFilesAsAnEmptyStore) {
  os::MemoryFileSystem fs;
  fs.addFile("/plain-file", "x");
  fs.addDirectory("/empty");
  fs.addFile("/empty/Library/secret.plist", suite("<key>k</key><string>v</string>"));
  EXPECT_FALSE(UserDefaults::open(fs, "/missing", "s"));
  EXPECT_FALSE(UserDefaults::open(fs, "/plain-file", "s"));
  // No suite file yet, and a suite name that would leave the preferences directory.
  for (const char* name : {"s", "../secret"}) {
    auto store = UserDefaults::open(fs, "/empty", name);
    ASSERT_TRUE(store);
    EXPECT_EQ(store->stringForKey("k"), std::nullopt) << name;
  }
  const std::string kept = suite("<key>k</key><string>v</string>");
  for (const auto& bytes : {std::string(), kept + std::string(UserDefaults::maxFileBytes, ' ')})
    EXPECT_EQ(openWith(bytes)->stringForKey("k"), std::nullopt) << bytes.size();
  EXPECT_EQ(openWith(kept)->stringForKey("k"), "v");
}

TEST(UserDefaultsOpen, ReadsTheSampleSuiteOnDisk) {
  std::string container = std::string(TAMSA_TEST_DATA) + "/foundation/container";
  auto store = UserDefaults::open(*os::posixFileSystem(), container, "group.app.example");
  ASSERT_TRUE(store);
  EXPECT_EQ(store->stringForKey("widget_currency_symbol"), "\xE2\x82\xAC");
  EXPECT_EQ(store->doubleForKey("widget_balance"), -1234.56);
  EXPECT_EQ(store->stringForKey("widget_last_update"), "1700000000000");
}

// A suite file that another process keeps rewriting: each reading returns the next version.
class ChangingFile final : public os::FileSystem {
 public:
  explicit ChangingFile(std::vector<std::string> versions) : versions_(std::move(versions)) {}
  os::FileKind kind(const std::string& path) const override {
    return path == "/c" ? os::FileKind::directory : os::FileKind::file;
  }
  std::optional<std::string> readFile(const std::string&, std::size_t) const override {
    return versions_[std::min(reads_++, versions_.size() - 1)];
  }
  std::vector<std::string> listDirectory(const std::string&) const override { return {}; }
  mutable std::size_t reads_ = 0;

 private:
  std::vector<std::string> versions_;
};

std::string status(const char* s) {
  return suite(std::string("<key>s</key><string>") + s + "</string>");
}

TEST(UserDefaultsWhileRewritten, ReadsUntilTwoReadingsAgreeElseIsEmpty) {
  // A torn reading (valid, but a mix) is followed by two readings of the new version.
  ChangingFile settling({status("torn"), status("new"), status("new")});
  EXPECT_EQ(UserDefaults::open(settling, "/c", "s")->stringForKey("s"), "new");
  EXPECT_EQ(settling.reads_, 3u);
  std::vector<std::string> versions;
  for (int i = 0; i < 20; ++i) versions.push_back(status(i % 2 ? "a" : "b"));
  ChangingFile restless(versions);
  EXPECT_EQ(UserDefaults::open(restless, "/c", "s")->stringForKey("s"), std::nullopt);
}

}  // namespace
}  // namespace foundation
