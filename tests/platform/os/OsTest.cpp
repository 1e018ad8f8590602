// The operating-system stand-ins: the file system (the machine's and the in-memory one keep the
// same contract), the main actor's queue, and system versions.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include "platform/os/MainActor.h"
#include "platform/os/MemoryFileSystem.h"
#include "platform/os/MemoryWritableFileSystem.h"
#include "platform/os/SystemVersion.h"

namespace os {
namespace {

using namespace std::string_view_literals;

TEST(FileSystem, BothImplementationsReadWholeFilesWithinTheCapOnly) {
  auto memory = std::make_shared<MemoryFileSystem>();
  memory->addFile("/d/sub/f", "12345");
  memory->addFile("/d/g", "");
  const std::string dir = ::testing::TempDir() + "fs-contract";
  std::filesystem::create_directories(dir + "/sub");
  std::ofstream(dir + "/sub/f") << "12345";
  std::ofstream(dir + "/g");
  for (const auto& [fs, root] :
       {std::pair<std::shared_ptr<const FileSystem>, std::string>{memory, "/d"},
        {posixFileSystem(), dir}}) {
    EXPECT_EQ(fs->readFile(root + "/sub/f", 5), "12345");
    EXPECT_EQ(fs->readFile(root + "/sub/f", 4), std::nullopt);
    EXPECT_EQ(fs->readFile(root + "/g", 0), "");
    EXPECT_EQ(fs->kind(root + "/sub"), FileKind::directory);
    EXPECT_EQ(fs->kind(root + "/missing"), FileKind::missing);
    EXPECT_EQ(fs->listDirectory(root), (std::vector<std::string>{"g", "sub"}));
  }
  // Files under /proc report a size of 0 and then give more: the content counts, not the size.
  EXPECT_TRUE(posixFileSystem()->readFile("/proc/self/status", 1 << 20)->starts_with("Name:"));
  EXPECT_EQ(posixFileSystem()->readFile("/proc/self/status", 4), std::nullopt);
  for (std::string_view name : {""sv, "."sv, ".."sv, "a/b"sv, "a\\b"sv, "a\0b"sv})
    EXPECT_FALSE(isSingleFileName(name)) << name;
}

// A file written in place is made or replaced whole, but never through a symbolic link.
TEST(WritableFileSystem, BothImplementationsWriteInPlaceButNeverThroughALink) {
  auto memory = std::make_shared<MemoryWritableFileSystem>();
  memory->addDirectory("/d");
  memory->addSymbolicLink("/d/link");
  const std::string dir = ::testing::TempDir() + "fs-write-in-place";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::ofstream(dir + "/target") << "kept";
  std::filesystem::create_symlink(dir + "/target", dir + "/link");
  for (const auto& [fs, root] :
       {std::pair<std::shared_ptr<WritableFileSystem>, std::string>{memory, "/d"},
        {posixWritableFileSystem(), dir}}) {
    EXPECT_TRUE(fs->writeFile(root + "/f", "a longer first text", {}));
    EXPECT_TRUE(fs->writeFile(root + "/f", "second", {}));
    EXPECT_EQ(fs->readFile(root + "/f", 100), "second");
    EXPECT_FALSE(fs->writeFile(root + "/link", "through", {}));
    EXPECT_FALSE(fs->writeFile(root + "/missing/f", "x", {}));
  }
  EXPECT_EQ(posixFileSystem()->readFile(dir + "/target", 100), "kept");
}

// Jobs from other threads, and jobs queued by jobs, all run on the actor's thread in one drain.
TEST(MainActor, RunsJobsFromAnyThreadOnItsOwnThread) {
  MainActor actor;
  std::vector<int> order;
  std::atomic<int> offMain{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&, i] {
      actor.enqueue([&, i] {
        offMain += actor.isCurrent() ? 0 : 1;
        order.push_back(i);
        actor.enqueue([&] { order.push_back(-1); });
      });
    });
  for (auto& t : threads) t.join();
  EXPECT_TRUE(actor.drainUntil([&] { return order.size() == 8; }));
  EXPECT_EQ(offMain.load(), 0);
}

TEST(SystemVersion, ParsesOneToThreePartsAndComparesInOrder) {
  EXPECT_EQ(SystemVersion::parse("17"), (SystemVersion{17, 0, 0}));
  EXPECT_EQ(SystemVersion::parse("17.4.1"), (SystemVersion{17, 4, 1}));
  for (const char* bad : {"", "unknown", "17.", ".4", "17.4.1.2", "17a", "-1", "1 7", "99999"})
    EXPECT_EQ(SystemVersion::parse(bad), std::nullopt) << bad;
  EXPECT_LT((SystemVersion{17, 0, 5}), (SystemVersion{17, 1, 0}));
}

}  // namespace
}  // namespace os
