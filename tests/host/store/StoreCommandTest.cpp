// `store` run as a user runs it: what it writes is what the widget then reads, what it shows
// re-imports to the same value, what it must not overwrite it leaves alone, and writers at once
// keep every edit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "host/core/PlistJson.h"
#include "host/store/SuiteFile.h"
#include "support/RunProgram.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing_support::readFile;
using testing_support::runWidgets;

struct Container {
  std::string dir = testing_support::makeTempDirectory() + "/c";
  std::string suite = dir + "/Library/Preferences/group.com.tamsaledger.app.plist";
  testing_support::ProgramResult store(std::vector<std::string> args) const {
    args.insert(args.begin(), {"store", "--container", dir});
    return runWidgets(args);
  }
};

TEST(StoreCommand, WritesWhatTheWidgetReadsAndShowsWhatImportTakesBack) {
  Container c;
  ASSERT_EQ(c.store({"set", "widget_balance=-12.5", "widget_auth_status=logged_in",
                     "widget_wallet_names=Caf\xC3\xA9 \xF0\x9F\x92\xB0", "widget_income=7",
                     "widget_wallet_count:=3", "flag:=true", "x=1"})
                .status,
            0);
  ASSERT_EQ(c.store({"delete", "x", "absent"}).status, 0);
  auto shown = c.store({"show"});
  EXPECT_EQ(json::parse(shown.out), json::parse(R"({"flag": true, "widget_auth_status": "logged_in",
      "widget_balance": -12.5, "widget_income": 7.0, "widget_wallet_count": 3,
      "widget_wallet_names": "Caf\u00e9 \ud83d\udcb0"})"));
  EXPECT_NE(shown.out.find("\"widget_income\": 7.0"), std::string::npos) << "a real stays real";
  auto entry = json::parse(runWidgets({"timeline", "TamsaWidget", "--container", c.dir}).out);
  EXPECT_EQ(entry["entries"][0]["balance"], -12.5);
  EXPECT_EQ(entry["entries"][0]["isLoggedIn"], true);
  for (const auto& entry : fs::directory_iterator(fs::path(c.suite).parent_path()))
    EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << "a temporary stays";
}

std::string repeat(const std::string& text, int n) {
  std::string out;
  while (n-- > 0) out += text;
  return out;
}

// Nesting arrays under a key as deep as the suite's own dictionary leaves room for.
std::string nested(const std::string& at, int arrays) {
  std::ofstream(at) << "{\"a\": " + std::string(arrays, '[') + std::string(arrays, ']') + "}";
  return at;
}

TEST(StoreCommand, RefusesWhatItCannotStoreBeforeTouchingTheSuite) {
  Container c;
  const std::string here = fs::path(c.dir).parent_path();
  std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"store", "set", "a=b"}, "--container"},  // never the shipped sample
      {{"store", "set", "--container", c.dir, "widget_expense=12abc"}, "widget_expense"},
      {{"store", "set", "--container", c.dir, "=v"}, "empty"},
      {{"store", "set", "--container", c.dir, "k:=null"}, "null"},
      {{"store", "set", "--container", c.dir, "k:=[1]"}, "import"},
      {{"store", "set", "--container", c.dir, "k:=\"\xFF\""}, "UTF-8"},
      {{"store", "set", "--container", c.dir, "k:={\"date\": \"soon\"}"}, "ISO 8601"},
  };
  for (int arrays : {512, 513})  // with the suite's dictionary, one past the limit and more
    cases.push_back({{"store", "import", "--container", c.dir,
                      nested(here + "/d" + std::to_string(arrays), arrays)},
                     "nest"});
  for (const auto& [args, mentions] : cases) {
    auto r = runWidgets(args);
    EXPECT_EQ(r.status, 2) << mentions;
    EXPECT_NE(r.err.find(mentions), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(c.dir));
  // A warning names the path as the failures do: a control byte in it reaches no terminal.
  auto absent = runWidgets({"store", "--container", c.dir + "\x1b[2J", "show"});
  EXPECT_EQ(absent.out, "{}\n");
  EXPECT_NE(absent.err.find("no container at " + c.dir + "\\x1b[2J"), std::string::npos)
      << absent.err;
  EXPECT_EQ(absent.err.find('\x1b'), std::string::npos);
}

TEST(StoreCommand, LeavesASuiteItCannotReadAndNeverWritesThroughALink) {
  Container c;
  fs::create_directories(fs::path(c.suite).parent_path());
  const std::string partly = "<plist><dict><key>d</key><data>AP8!</data></dict></plist>";
  std::ofstream(c.suite) << partly;  // shown as the widget reads it, never rewritten so unasked
  EXPECT_EQ(json::parse(c.store({"show"}).out), (json{{"d", {{"data", "AP8="}}}}));
  EXPECT_NE(c.store({"set", "a=b"}).err.find("base64"), std::string::npos);
  EXPECT_EQ(readFile(c.suite), partly);
  std::ofstream(c.suite) << "not a list";
  EXPECT_EQ(c.store({"show"}).status, 1);
  EXPECT_EQ(c.store({"set", "a=b"}).status, 1);
  EXPECT_EQ(readFile(c.suite), "not a list");
  EXPECT_EQ(c.store({"set", "a=b", "--force"}).status, 0);
  EXPECT_EQ(json::parse(c.store({"show"}).out), (json{{"a", "b"}}));

  const std::string elsewhere = c.dir + "/elsewhere.plist";
  fs::rename(c.suite, elsewhere);
  fs::create_symlink(elsewhere, c.suite);
  const std::string old = readFile(elsewhere);
  EXPECT_NE(c.store({"set", "a=c", "--force"}).err.find("symbolic link"), std::string::npos);
  fs::remove(c.suite);
  fs::create_directory(c.suite);
  EXPECT_NE(c.store({"set", "a=c", "--force"}).err.find("folder"), std::string::npos);
  EXPECT_EQ(readFile(elsewhere), old);
  EXPECT_TRUE(fs::is_empty(c.suite));

  // Show reads through a linked folder as the widget does, and says so; set does not write.
  Container linked;
  fs::remove(c.suite);
  fs::rename(elsewhere, c.suite);
  fs::create_directories(linked.dir + "/Library");
  fs::create_directory_symlink(fs::path(c.suite).parent_path(),
                               linked.dir + "/Library/Preferences");
  EXPECT_EQ(linked.store({"set", "a=c"}).status, 1);
  auto shown = linked.store({"show"});
  EXPECT_EQ(json::parse(shown.out), (json{{"a", "b"}}));
  EXPECT_NE(shown.err.find("symbolic link"), std::string::npos) << shown.err;
}

// Dates of every year, UIDs and nanoseconds come back as they were through show, set and
// import; what cannot be stored exactly is refused, by set and import alike.
TEST(StoreCommand, KeepsEveryValueExactlyThroughShowSetAndImport) {
  Container c;
  fs::create_directories(fs::path(c.suite).parent_path());
  // Deep arrays, and dictionaries shown wrapped ({"dictionary": ...}, two brackets each): the
  // text show prints does not grow with the depth, and import takes it back.
  const std::string deep = repeat("<array>", 400) + repeat("<integer>1</integer>", 1000) +
                           repeat("</array>", 400),
                    wrapped =
                        repeat("<dict><key>date</key>", 300) + "<true/>" + repeat("</dict>", 300);
  std::ofstream(c.suite) << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                            "<key>far</key><date>2100-06-01T00:00:00Z</date>"
                            "<key>first</key><date>0001-01-01T00:00:00Z</date>"
                            "<key>uid</key><dict><key>CF$UID</key><integer>7</integer></dict>"
                            "<key>unpadded</key><data> AP\n8 </data><key>deep</key>" +
                                deep + "<key>wrapped</key>" + wrapped + "</dict></plist>";
  ASSERT_EQ(c.store({"set", "x=1", "fine:={\"date\": \"2026-01-01T09:00:00.123456789Z\"}",
                     "last:={\"date\": \"9999-12-31T23:59:59.99998Z\"}"})
                .status,
            0);
  auto shown = c.store({"show"});
  auto values = json::parse(shown.out);
  EXPECT_EQ(values["far"], (json{{"date", "2100-06-01T00:00:00.000Z"}}));
  EXPECT_EQ(values["first"], (json{{"date", "0001-01-01T00:00:00.000Z"}}));
  EXPECT_EQ(values["uid"], (json{{"CF$UID", 7}}));
  EXPECT_EQ(values["unpadded"], (json{{"data", "AP8="}})) << "kept through the set";
  EXPECT_LT(shown.out.size(), 16000u);

  const std::string before = readFile(c.suite), exported = c.dir + "/../shown.json";
  std::ofstream(exported) << shown.out;
  ASSERT_EQ(c.store({"import", exported}).status, 0);
  EXPECT_EQ(readFile(c.suite), before);

  const std::string bad = c.dir + "/../bad.json";
  for (const std::string& mistake :
       {"{\"\": 1}", "[1]", "{\"n\": 18446744073709551616}", "{\"n\": -9223372036854775809}"}) {
    std::ofstream(bad) << mistake;
    EXPECT_EQ(c.store({"import", bad}).status, 2) << mistake;
  }
  EXPECT_EQ(c.store({"set", "n:=18446744073709551616"}).status, 2);
  EXPECT_EQ(c.store({"set", "n:=18446744073709551615"}).status, 0) << "the largest unsigned";
  EXPECT_EQ(c.store({"import", nested(c.dir + "/../d511", 511)}).status, 0) << "the deepest";

  // Import takes as much as show prints for any list the readers take: the longest dates, a line
  // each or nested deep, and text of control characters.
  using foundation::PlistArray, foundation::PlistValue;
  const PlistValue date{foundation::PlistDate{-1.2345678901234567e-7}};
  PlistValue nest{PlistArray(1000, date)};
  for (int i = 0; i < 100; ++i) nest = PlistValue{PlistArray{nest}};
  const std::string controls(1000, '\x01');
  const foundation::PlistDictionary worst = {
      {"a", PlistValue{PlistArray(1000, date)}}, {"b", date}, {"c", nest}, {controls, {controls}}};
  const std::uint64_t count = 5 + 1001 + 1 + 1101 + 1, text = 3 + 2000;
  EXPECT_LE(host::suiteText(worst).size(),
            count * host::kShownBytesPerValue + text * host::kShownBytesPerTextByte);
}

// A suite the readers would refuse is never written: the old one stays.
TEST(StoreCommand, NeverWritesASuiteItsReadersRefuse) {
  Container c;
  ASSERT_EQ(c.store({"set", "widget_balance=12.5"}).status, 0);
  const std::string before = readFile(c.suite), input = c.dir + "/../zeros.json";
  // A value more than a list may expand to.
  std::ofstream(input) << "{\"widget_balance\": 12.5, \"a\": [0" + repeat(",0", (1 << 20) - 1) +
                              "]}";
  auto r = c.store({"import", input});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("would not read back"), std::string::npos) << r.err;
  EXPECT_TRUE(readFile(c.suite) == before) << "the old suite stays";
}

// Writers at once queue on the lock: two loops of sets, each of its own keys, keep every key.
// A reader does not wait for the lock.
TEST(StoreCommand, WritersAtOnceLoseNoKeyAndAReaderIsNotBlocked) {
  Container c;
  const std::string script = fs::path(c.dir).parent_path() / "writers.sh";
  std::ofstream(script) << "writer() { for i in $(seq 50); do \"$1\" store set --container \"$2\" "
                           "\"$3$i=v\" 2>/dev/null || exit 1; done; }\n"
                           "writer \"$1\" \"$2\" a & a=$!\nwriter \"$1\" \"$2\" b & b=$!\n"
                           "wait $a && wait $b\n";
  ASSERT_EQ(std::system(("sh " + script + " " TAMSA_WIDGETS_BINARY " " + c.dir).c_str()), 0);
  auto lock = host::lockSuite(host::SuiteFile::in(c.dir), [](const host::Warning&) {});
  ASSERT_TRUE(lock);
  EXPECT_EQ(json::parse(c.store({"show"}).out).size(), 100u);
}

// A rewrite keeps the owner and mode of a suite that is not root's; temporaries that killed
// writers left are swept, and nothing else: not a young one, a locked one, a look-alike or a link.
TEST(StoreCommand, KeepsTheOwnerAndSweepsOnlyDeadWritersTemporaries) {
  Container c;
  ASSERT_EQ(c.store({"set", "a=1"}).status, 0);
  const fs::path folder = fs::path(c.suite).parent_path();
  const std::string temp = "." + fs::path(c.suite).filename().string() + ".tmp-";
  auto make = [&](const std::string& name, bool old) {
    std::ofstream(folder / name) << "x";
    if (old)
      fs::last_write_time(folder / name, fs::file_time_type::clock::now() - std::chrono::hours(1));
  };
  const std::vector<std::string> stay = {
      temp + "Young1",          temp + "Lockd1",  temp + "Link01", "target",
      temp + "Dead0",           temp + "Dead012", temp + "Dead-1", temp.substr(1) + "Dead01",
      ".other.plist.tmp-Dead01"};
  make(temp + "Dead01", true);
  make(temp + "Young1", false);
  for (std::size_t i = 1; i < stay.size(); ++i)
    if (i != 2) make(stay[i], true);
  fs::create_symlink(folder / "target", folder / (temp + "Link01"));
  const timespec anHourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
  ::utimensat(AT_FDCWD, (folder / (temp + "Link01")).c_str(), anHourAgo, AT_SYMLINK_NOFOLLOW);
  int locked = ::open((folder / (temp + "Lockd1")).c_str(), O_RDONLY);
  ASSERT_EQ(::flock(locked, LOCK_EX), 0);
  const bool root = ::geteuid() == 0;
  if (root) ASSERT_EQ(::chown(c.suite.c_str(), 4321, 4322), 0);
  ::chmod(c.suite.c_str(), 0640);

  ASSERT_EQ(c.store({"set", "b=2"}).status, 0);
  ::close(locked);
  EXPECT_FALSE(fs::exists(folder / (temp + "Dead01")));
  for (const std::string& name : stay)
    EXPECT_TRUE(fs::exists(fs::symlink_status(folder / name))) << name;
  EXPECT_TRUE(fs::is_symlink(folder / (temp + "Link01")));
  struct stat st {};
  ASSERT_EQ(::stat(c.suite.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (!root) GTEST_SKIP() << "keeping another user's ownership needs root";
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 4322u);
}

// A bind mount of the sample cannot be made here reliably; a hard link to its suite file and a
// path that names its folder otherwise stand in.
TEST(StoreCommand, KnowsTheSampleByItsFilesIdentity) {
  const fs::path dir = testing_support::makeTempDirectory();
  const auto sample = host::SuiteFile::in(dir / "sample"), copy = host::SuiteFile::in(dir / "copy");
  fs::create_directories(sample.path.parent_path());
  fs::create_directories(copy.path.parent_path());
  std::ofstream(sample.path) << "";
  EXPECT_FALSE(host::isSameSuite(copy, sample));
  fs::create_hard_link(sample.path, copy.path);
  EXPECT_TRUE(host::isSameSuite(copy, sample));
  EXPECT_TRUE(host::isSameSuite(host::SuiteFile::in(dir / "copy/../sample/."), sample));
}

}  // namespace
