#include "platform/foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <functional>

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

// Each kind of value a host might store, as stringForKey and doubleForKey read it.
TEST(UserDefaults, CoercesValuesTheWayTheDeviceDoes) {
  using Make = std::function<int(BinaryPlistWriter&)>;
  auto text = [](std::string t) { return Make([t](BinaryPlistWriter& w) { return w.ascii(t); }); };
  struct Case {
    const char* key;
    Make value;
    std::optional<std::string> asString;
    double asDouble;
  };
  const std::vector<Case> cases = {
      {"text", text("logged_in"), "logged_in", 0},
      {"int", [](auto& w) { return w.integer(42); }, "42", 42},
      {"negative", [](auto& w) { return w.integer(-7); }, "-7", -7},
      {"huge", [](auto& w) { return w.integer128(0, 18446744073709551615ULL); },
       "18446744073709551615", 18446744073709551615.0},
      {"millis", [](auto& w) { return w.real(1700000000000.0); }, "1700000000000", 1.7e12},
      {"tenth", [](auto& w) { return w.real(0.1); }, "0.1", 0.1},
      {"fraction", [](auto& w) { return w.real(-1234.5); }, "-1234.5", -1234.5},
      {"tiny", [](auto& w) { return w.real(1.5e-7); }, "1.5e-07", 1.5e-7},
      {"big", [](auto& w) { return w.real(1e20); }, "1e+20", 1e20},
      {"yes", [](auto& w) { return w.boolean(true); }, "1", 1},
      {"no", [](auto& w) { return w.boolean(false); }, "0", 0},
      // Values that are neither text, number nor boolean read as absent.
      {"date", [](auto& w) { return w.date(0); }, std::nullopt, 0},
      {"data", [](auto& w) { return w.data("12"); }, std::nullopt, 0},
      {"list", [](auto& w) { return w.array({w.ascii("12")}); }, std::nullopt, 0},
      // Text read as a number: its leading number in the C locale, after any white space.
      {"padded", text("  12.5abc"), "  12.5abc", 12.5},
      {"exp", text("\t\n2.5e3xyz"), "\t\n2.5e3xyz", 2500},
      {"comma", text("3,75"), "3,75", 3},
      {"nbsp", [](auto& w) { return w.utf16(u"\u00a0\u3000-8"); }, "\u00a0\u3000-8", -8},
      {"inf", text("inf"), "inf", 0},
      {"nan", text("nan"), "nan", 0},
      {"hex", text("0x10"), "0x10", 0},
      {"signs", text("+-3"), "+-3", 0},
      {"word", text("abc"), "abc", 0},
      {"empty", text(""), "", 0},
  };
  BinaryPlistWriter w;
  std::vector<std::pair<int, int>> entries;
  for (const Case& c : cases) entries.push_back({w.ascii(c.key), c.value(w)});
  auto store = openWith(w.build(w.dict(entries)));
  ASSERT_TRUE(store);
  for (const Case& c : cases) {
    EXPECT_EQ(store->stringForKey(c.key), c.asString) << c.key;
    EXPECT_EQ(store->doubleForKey(c.key), c.asDouble) << c.key;
  }
  EXPECT_EQ(store->stringForKey("absent"), std::nullopt);
  EXPECT_EQ(store->doubleForKey("absent"), 0.0);
  EXPECT_EQ(store->stringForKey("Text"), std::nullopt);  // keys are case-sensitive
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

// Cut, corrupt and wrongly shaped files are tests/data/hostile files; these are the rest.
TEST(UserDefaultsOpen, EmptyAndOversizedFilesGiveAnEmptyStore) {
  for (const auto& bytes : {std::string(), std::string(UserDefaults::maxFileBytes + 1, ' ')}) {
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
