// `store` run as a user runs it: what it writes is what the widget then reads, what it shows
// re-imports to the same value, and what it must not overwrite it leaves alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

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

TEST(StoreCommand, LeavesASuiteItCannotReadAndNeverWritesThroughALinkedFolder) {
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

  // Show reads through a linked folder as the widget does, and says so; set does not write.
  Container linked;
  fs::create_directories(linked.dir + "/Library");
  fs::create_directory_symlink(fs::path(c.suite).parent_path(),
                               linked.dir + "/Library/Preferences");
  EXPECT_EQ(linked.store({"set", "a=c"}).status, 1);
  auto shown = linked.store({"show"});
  EXPECT_EQ(json::parse(shown.out), (json{{"a", "b"}}));
  EXPECT_NE(shown.err.find("symbolic link"), std::string::npos) << shown.err;
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
