// `store` run as a user runs it: what it writes is what the widget then reads, what it shows
// re-imports to the same file, and what it must not overwrite it leaves alone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

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
  EXPECT_EQ(json::parse(shown.out),
            (json{{"flag", true},
                  {"widget_auth_status", "logged_in"},
                  {"widget_balance", -12.5},
                  {"widget_income", 7.0},
                  {"widget_wallet_count", 3},
                  {"widget_wallet_names", "Caf\xC3\xA9 \xF0\x9F\x92\xB0"}}));
  EXPECT_NE(shown.out.find("\"widget_income\": 7.0"), std::string::npos) << "a real stays real";
  auto timeline = runWidgets({"timeline", "TamsaWidget", "--container", c.dir});
  EXPECT_EQ(json::parse(timeline.out)["entries"][0]["balance"], -12.5);
  EXPECT_EQ(json::parse(timeline.out)["entries"][0]["isLoggedIn"], true);

  ::chmod(c.suite.c_str(), 0640);
  const std::string before = readFile(c.suite), exported = c.dir + "/../shown.json";
  std::ofstream(exported) << shown.out;
  ASSERT_EQ(c.store({"import", exported}).status, 0);
  EXPECT_EQ(readFile(c.suite), before);
  EXPECT_EQ(fs::status(c.suite).permissions(), fs::perms(0640));
  auto dir = fs::directory_iterator(fs::path(c.suite).parent_path());
  EXPECT_EQ(std::distance(dir, {}), 1) << "no temporary file stays behind";
}

TEST(StoreCommand, RefusesWhatItCannotStoreBeforeTouchingTheSuite) {
  Container c;
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"store", "set", "a=b"}, "--container"},  // never the shipped sample
      {{"store", "set", "--container", c.dir, "widget_expense=12abc"}, "widget_expense"},
      {{"store", "set", "--container", c.dir, "=v"}, "empty"},
      {{"store", "set", "--container", c.dir, "k:=null"}, "null"},
      {{"store", "set", "--container", c.dir, "k:=[1]"}, "import"},
      {{"store", "set", "--container", c.dir, "k:=\"\xFF\""}, "UTF-8"},
      {{"store", "set", "--container", c.dir, "k:={\"date\": \"soon\"}"}, "ISO 8601"},
  };
  for (const auto& [args, mentions] : cases) {
    auto r = runWidgets(args);
    EXPECT_EQ(r.status, 2) << mentions;
    EXPECT_NE(r.err.find(mentions), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(c.dir));
  auto absent = c.store({"show"});
  EXPECT_EQ(absent.out, "{}\n");
  EXPECT_NE(absent.err.find("no container at"), std::string::npos);
}

TEST(StoreCommand, LeavesASuiteItCannotReadAndNeverWritesThroughALink) {
  Container c;
  fs::create_directories(fs::path(c.suite).parent_path());
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
}

}  // namespace
