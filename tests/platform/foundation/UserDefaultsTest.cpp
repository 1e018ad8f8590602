#include "platform/foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "platform/foundation/BinaryPlistWriter.h"
#include "platform/os/MemoryFileSystem.h"

namespace foundation {
namespace {

using testing::BinaryPlistWriter;

const std::string kContainer = "/container";
const std::string kSuite = "group.app.example";
const std::string kFile = kContainer + "/Library/Preferences/" + kSuite + ".plist";

std::optional<UserDefaults> openWith(std::string bytes) {
  os::MemoryFileSystem fs;
  fs.addFile(kFile, std::move(bytes));
  return UserDefaults::open(fs, kContainer, kSuite);
}

// One value of each kind a host might store, in binary form.
UserDefaults mixedStore() {
  BinaryPlistWriter w;
  std::vector<std::pair<int, int>> e = {
      {w.ascii("text"), w.ascii("logged_in")},
      {w.ascii("int"), w.integer(42)},
      {w.ascii("negative"), w.integer(-7)},
      {w.ascii("huge"), w.integer128(0, 18446744073709551615ULL)},
      {w.ascii("millis"), w.real(1700000000000.0)},
      {w.ascii("tenth"), w.real(0.1)},
      {w.ascii("fraction"), w.real(-1234.5)},
      {w.ascii("tiny"), w.real(1.5e-7)},
      {w.ascii("big"), w.real(1e20)},
      {w.ascii("yes"), w.boolean(true)},
      {w.ascii("no"), w.boolean(false)},
      {w.ascii("date"), w.date(0)},
      {w.ascii("data"), w.data("12")},
      {w.ascii("list"), w.array({w.ascii("12")})},
      {w.ascii("padded"), w.ascii("  12.5abc")},
      {w.ascii("inf"), w.ascii("inf")},
      {w.ascii("nan"), w.ascii("nan")},
      {w.ascii("hex"), w.ascii("0x10")},
      {w.ascii("exp"), w.ascii("\t\n2.5e3xyz")},
      {w.ascii("signs"), w.ascii("+-3")},
      {w.ascii("word"), w.ascii("abc")},
      {w.ascii("empty"), w.ascii("")},
      {w.ascii("comma"), w.ascii("3,75")},
      {w.utf16(u"nbsp"), w.utf16(u"\u00a0\u3000-8")},
  };
  auto store = openWith(w.build(w.dict(e)));
  EXPECT_TRUE(store);
  return *store;
}

TEST(UserDefaultsStringForKey, GivesTextForStringsNumbersAndBooleans) {
  auto s = mixedStore();
  EXPECT_EQ(s.stringForKey("text"), "logged_in");
  EXPECT_EQ(s.stringForKey("int"), "42");
  EXPECT_EQ(s.stringForKey("negative"), "-7");
  EXPECT_EQ(s.stringForKey("huge"), "18446744073709551615");
  EXPECT_EQ(s.stringForKey("millis"), "1700000000000");
  EXPECT_EQ(s.stringForKey("tenth"), "0.1");
  EXPECT_EQ(s.stringForKey("fraction"), "-1234.5");
  EXPECT_EQ(s.stringForKey("tiny"), "1.5e-07");
  EXPECT_EQ(s.stringForKey("big"), "1e+20");
  EXPECT_EQ(s.stringForKey("yes"), "1");
  EXPECT_EQ(s.stringForKey("no"), "0");
}

TEST(UserDefaultsStringForKey, GivesNothingForOtherValuesAndAbsentKeys) {
  auto s = mixedStore();
  EXPECT_EQ(s.stringForKey("date"), std::nullopt);
  EXPECT_EQ(s.stringForKey("data"), std::nullopt);
  EXPECT_EQ(s.stringForKey("list"), std::nullopt);
  EXPECT_EQ(s.stringForKey("absent"), std::nullopt);
  EXPECT_EQ(s.stringForKey("Text"), std::nullopt);  // keys are case-sensitive
}

TEST(UserDefaultsDoubleForKey, ReadsNumbersAndBooleans) {
  auto s = mixedStore();
  EXPECT_EQ(s.doubleForKey("int"), 42.0);
  EXPECT_EQ(s.doubleForKey("negative"), -7.0);
  EXPECT_EQ(s.doubleForKey("huge"), 18446744073709551615.0);
  EXPECT_EQ(s.doubleForKey("fraction"), -1234.5);
  EXPECT_EQ(s.doubleForKey("yes"), 1.0);
  EXPECT_EQ(s.doubleForKey("no"), 0.0);
}

TEST(UserDefaultsDoubleForKey, ConvertsTextByItsLeadingNumber) {
  auto s = mixedStore();
  EXPECT_EQ(s.doubleForKey("padded"), 12.5);
  EXPECT_EQ(s.doubleForKey("exp"), 2500.0);
  EXPECT_EQ(s.doubleForKey("comma"), 3.0);  // C locale: "," ends the number
  EXPECT_EQ(s.doubleForKey("nbsp"), -8.0);  // Unicode white space is skipped too
  EXPECT_EQ(s.doubleForKey("inf"), 0.0);
  EXPECT_EQ(s.doubleForKey("nan"), 0.0);
  EXPECT_EQ(s.doubleForKey("hex"), 0.0);
  EXPECT_EQ(s.doubleForKey("signs"), 0.0);
  EXPECT_EQ(s.doubleForKey("word"), 0.0);
  EXPECT_EQ(s.doubleForKey("empty"), 0.0);
}

TEST(UserDefaultsDoubleForKey, GivesZeroForOtherValuesAndAbsentKeys) {
  auto s = mixedStore();
  EXPECT_EQ(s.doubleForKey("date"), 0.0);
  EXPECT_EQ(s.doubleForKey("data"), 0.0);
  EXPECT_EQ(s.doubleForKey("list"), 0.0);
  EXPECT_EQ(s.doubleForKey("absent"), 0.0);
}

TEST(UserDefaultsOpen, ReadsXmlSuites) {
  auto s = openWith(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
      "<key>widget_income</key><real>99.5</real><key>widget_last_update</key>"
      "<string>1700000000000</string></dict></plist>");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->doubleForKey("widget_income"), 99.5);
  EXPECT_EQ(s->stringForKey("widget_last_update"), "1700000000000");
}

TEST(UserDefaultsOpen, NeedsAContainerDirectory) {
  os::MemoryFileSystem fs;
  EXPECT_FALSE(UserDefaults::open(fs, "/missing", kSuite));
  fs.addFile("/plain-file", "x");
  EXPECT_FALSE(UserDefaults::open(fs, "/plain-file", kSuite));
  fs.addDirectory("/empty-container");
  auto store = UserDefaults::open(fs, "/empty-container", kSuite);
  ASSERT_TRUE(store);  // no suite file yet: an empty store
  EXPECT_EQ(store->stringForKey("widget_auth_status"), std::nullopt);
}

TEST(UserDefaultsOpen, UnusableFilesGiveAnEmptyStore) {
  BinaryPlistWriter w;
  int key = w.ascii("widget_auth_status");
  std::string good = w.build(w.dict({{key, w.ascii("logged_in")}}));
  ASSERT_EQ(openWith(good)->stringForKey("widget_auth_status"), "logged_in");

  BinaryPlistWriter arrayTop;
  std::vector<std::string> unusable = {
      "",
      good.substr(0, good.size() / 2),
      good.substr(0, good.size() - 1),
      arrayTop.build(arrayTop.array({arrayTop.ascii("widget_auth_status")})),
      "<plist><string>logged_in</string></plist>",
      std::string(UserDefaults::maxFileBytes + 1, ' '),
  };
  for (const auto& bytes : unusable) {
    auto store = openWith(bytes);
    ASSERT_TRUE(store);
    EXPECT_EQ(store->stringForKey("widget_auth_status"), std::nullopt) << bytes.size();
  }
}

TEST(UserDefaultsOpen, SuiteNamesCannotLeaveThePreferencesDirectory) {
  os::MemoryFileSystem fs;
  fs.addDirectory(kContainer);
  BinaryPlistWriter w;
  int key = w.ascii("k");
  fs.addFile(kContainer + "/Library/secret.plist", w.build(w.dict({{key, w.ascii("v")}})));
  auto store = UserDefaults::open(fs, kContainer, "../secret");
  ASSERT_TRUE(store);
  EXPECT_EQ(store->stringForKey("k"), std::nullopt);
}

TEST(UserDefaultsOpen, ReadsTheSampleSuiteOnDisk) {
  std::string container = std::string(TAMSA_TEST_DATA) + "/foundation/container";
  auto store = UserDefaults::open(*os::posixFileSystem(), container, "group.app.example");
  ASSERT_TRUE(store);
  EXPECT_EQ(store->stringForKey("widget_auth_status"), "logged_in");
  EXPECT_EQ(store->stringForKey("widget_currency_symbol"), "\xE2\x82\xAC");
  EXPECT_EQ(store->doubleForKey("widget_balance"), -1234.56);
  EXPECT_EQ(store->stringForKey("widget_wallet_count"), "3");
  EXPECT_EQ(store->stringForKey("widget_last_update"), "1700000000000");
}

}  // namespace
}  // namespace foundation

namespace foundation {
namespace {

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
  std::size_t reads() const { return reads_; }

 private:
  std::vector<std::string> versions_;
  mutable std::size_t reads_ = 0;
};

std::string suite(const char* status) {
  return std::string("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>s</key><string>") +
         status + "</string></dict></plist>";
}

TEST(UserDefaultsWhileRewritten, ReadsUntilTwoReadingsAgree) {
  // A torn reading (valid, but a mix) is followed by two readings of the new version.
  ChangingFile fs({suite("torn"), suite("new"), suite("new")});
  auto store = UserDefaults::open(fs, "/c", "s");
  ASSERT_TRUE(store);
  EXPECT_EQ(store->stringForKey("s"), "new");
  EXPECT_EQ(fs.reads(), 3u);
}

TEST(UserDefaultsWhileRewritten, AFileThatNeverSettlesIsAnEmptyStore) {
  std::vector<std::string> versions;
  for (int i = 0; i < 20; ++i) versions.push_back(suite(i % 2 ? "a" : "b"));
  ChangingFile fs(versions);
  auto store = UserDefaults::open(fs, "/c", "s");
  ASSERT_TRUE(store);
  EXPECT_EQ(store->stringForKey("s"), std::nullopt);
}

}  // namespace
}  // namespace foundation
