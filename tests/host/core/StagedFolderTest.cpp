#include "host/core/StagedFolder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/os/MemoryWritableFileSystem.h"
#include "support/RunProgram.h"

namespace host {
namespace {

namespace fs = std::filesystem;

Result<StagedFolder> prepare(const fs::path& output) {
  return StagedFolder::prepare(os::posixWritableFileSystem(), output);
}

std::set<std::string> namesIn(const fs::path& dir) {
  std::set<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
  return out;
}

TEST(StagedFolder, NamesFromDataNeverLeaveTheFolder) {
  for (std::string plain : {"en", "zh-Hans", "pt_BR", "com.tamsaledger.app.Control-small"})
    EXPECT_EQ(safePathComponent(plain), plain);
  std::set<std::string> made;
  for (const std::string& hostile :
       std::vector<std::string>{"", ".", "..", "../outside", "/etc", "a/b", "a\\b",
                                std::string("a\0b", 3), ".hidden", std::string(65, 'a'), "日本"}) {
    std::string c = safePathComponent(hostile);
    EXPECT_EQ(c.front(), '_') << hostile;
    EXPECT_EQ(c.find_first_of("/\\."), std::string::npos) << hostile;
    EXPECT_LE(c.size(), 64u);
    EXPECT_TRUE(made.insert(c).second) << hostile;  // no two names share a stand-in
  }
}

TEST(StagedFolder, ReplacesOnlyAnEmptyFolderOrAnEarlierGallery) {
  fs::path dir = testing_support::makeTempDirectory();
  fs::create_directories(dir / "mine");
  std::ofstream(dir / "mine" / "thesis.txt") << "years of work";
  EXPECT_FALSE(prepare(dir / "mine").ok());

  for (const char* run : {"run0", "run1"}) {
    auto folder = prepare(dir / "gallery");
    ASSERT_TRUE(folder.ok() && folder->write(fs::path("en") / run, "x").ok());
    EXPECT_FALSE(fs::exists(dir / "gallery" / "en" / run));  // not before the commit
    ASSERT_TRUE(folder->commit().ok());
  }
  EXPECT_FALSE(fs::exists(dir / "gallery" / "en" / "run0"));  // replaced whole
  auto slashed = prepare(dir.string() + "/slashed/");
  ASSERT_TRUE(slashed.ok() && slashed->commit().ok());
  EXPECT_TRUE(fs::exists(dir / "slashed" / ".tamsa-gallery"));
  // A new folder has the usual mode; a replaced one keeps its own.
  const mode_t mask = ::umask(022);
  ::umask(mask);
  EXPECT_EQ(fs::status(dir / "slashed").permissions(), fs::perms(0777 & ~mask));
  fs::permissions(dir / "slashed", fs::perms(0751));
  ASSERT_TRUE(prepare(dir / "slashed")->commit().ok());
  EXPECT_EQ(fs::status(dir / "slashed").permissions(), fs::perms(0751));
  fs::remove_all(dir / "slashed");
  ASSERT_TRUE(prepare(dir / "gallery").ok());  // abandoned at once
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
  EXPECT_TRUE(fs::exists(dir / "gallery" / "en" / "run1"));
}

// The swap puts the new gallery in the old one's place or leaves the old one where it was.
TEST(StagedFolder, AFailedSwapKeepsTheEarlierGalleryAndLeavesNoStaging) {
  auto disk = std::make_shared<os::MemoryWritableFileSystem>();
  disk->addFile("/w/g/.tamsa-gallery", "earlier");
  disk->addFile("/w/g/en.png", "earlier picture");
  const auto before = disk->everything();
  for (const char* failing : {"/w/g", "/w/g.old-000000"}) {
    {
      auto folder = StagedFolder::prepare(disk, "/w/g");
      ASSERT_TRUE(folder && folder->write("en.png", "new picture"));
      disk->inject(os::MemoryWritableFileSystem::Fault::renameFails, failing);
      EXPECT_FALSE(folder->commit());
    }
    EXPECT_EQ(disk->everything(), before) << failing;
  }
  disk->addDirectory("/v");
  auto fresh = StagedFolder::prepare(disk, "/v/g");
  ASSERT_TRUE(fresh && fresh->write("de/a.png", "picture") && fresh->commit());
  EXPECT_EQ(disk->listDirectory("/v"), std::vector<std::string>{"g"});
  EXPECT_EQ(disk->readFile("/v/g/de/a.png", 100), "picture");
}

// What killed runs left beside the output goes; what only looks like it stays.
TEST(StagedFolder, SweepsOnlyItsOwnStaleStagingFolders) {
  fs::path dir = testing_support::makeTempDirectory();
  auto folderLike = [&](const std::string& name, bool marked) {
    fs::create_directories(dir / name / "en");
    std::ofstream(dir / name / "en" / "a.png") << "picture";
    if (marked) std::ofstream(dir / name / ".tamsa-gallery") << "marker";
    return dir / name;
  };
  fs::path stale = folderLike(".g.tmp-Ab3xYz", true), elsewhere = folderLike("elsewhere", true);
  fs::create_directory_symlink(elsewhere, stale / "link");
  std::set<std::string> lookAlikes = {".g.tmp-Ab3xY",   ".g.tmp-Ab3xYz7", ".g.tmp-Ab3_Yz",
                                      ".gg.tmp-Ab3xYz", "g.tmp-Ab3xYz",   ".g.tmp-Unmark"};
  for (const auto& name : lookAlikes) folderLike(name, name != ".g.tmp-Unmark");
  std::ofstream(dir / ".g.tmp-File01") << "a file being written as g";
  fs::create_directory_symlink(elsewhere, dir / ".g.tmp-Link01");
  fs::create_symlink(elsewhere / ".tamsa-gallery",
                     folderLike(".g.tmp-MarkLn", false) / ".tamsa-gallery");
  // A live run holds its staging folder's lock.
  fs::path live = folderLike(".g.tmp-Live01", true);
  int lock = ::open(live.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_EQ(::flock(lock, LOCK_EX), 0);
  lookAlikes.insert(
      {".g.tmp-File01", ".g.tmp-Link01", ".g.tmp-MarkLn", ".g.tmp-Live01", "elsewhere"});

  auto folder = prepare(dir / "g");
  ASSERT_TRUE(folder.ok());
  std::set<std::string> left = namesIn(dir);
  EXPECT_FALSE(left.count(stale.filename().string()));
  for (const auto& name : lookAlikes) EXPECT_TRUE(left.erase(name)) << name;
  EXPECT_EQ(left.size(), 1u);  // this run's own
  EXPECT_TRUE(fs::exists(elsewhere / "en" / "a.png"));

  // Once the run ends its folder may go; this live run's may not.
  ::close(lock);
  auto second = prepare(dir / "g");
  ASSERT_TRUE(second.ok());
  EXPECT_FALSE(fs::exists(live));
  EXPECT_TRUE(namesIn(dir).count(*left.begin()));
}

// Interrupted, the program removes its staging folder and ends as the signal would have ended it;
// the earlier gallery it was to replace stays.
TEST(StagedFolder, AnInterruptedRunLeavesNothingBehind) {
  struct Case {
    std::vector<std::string> command;
    int signal;
  } cases[] = {{{"gallery", "--scenario", "all", "--pseudo", "--jobs", "2", "-o"}, SIGINT},
               {{"snapshot", "record", "--pseudo", "--jobs", "2"}, SIGTERM},
               {{"gallery", "--scenario", "all", "--pseudo", "-o"}, SIGHUP}};
  for (const auto& c : cases) {
    fs::path dir = testing_support::makeTempDirectory(), out = dir / "out";
    fs::create_directory(out);
    std::ofstream(out / ".tamsa-gallery") << "earlier";
    std::ofstream(out / ".tamsa-snapshots") << "earlier";
    auto words = c.command;
    words.push_back(out.string());
    words = testing_support::widgetsCommand(words);  // env becomes the program: one process
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    // Interrupted once it has drawn into its staging folder.
    bool drawing = false;
    int status = 0;
    while (!drawing && ::waitpid(pid, &status, WNOHANG) == 0) {
      std::error_code ec;
      for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        drawing = drawing || it->path().extension() == ".png";
      ::usleep(2000);
    }
    ASSERT_TRUE(drawing) << "ended before it drew anything";
    ::kill(pid, c.signal);
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << c.command[0];
    EXPECT_EQ(namesIn(dir), std::set<std::string>{"out"}) << c.command[0];
    EXPECT_EQ(namesIn(out).size(), 2u);
  }
}

}  // namespace
}  // namespace host
