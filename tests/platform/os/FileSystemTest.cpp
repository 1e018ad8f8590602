// The machine's file system and the in-memory one keep the same contract.
#include "platform/os/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/os/MemoryFileSystem.h"

namespace os {
namespace {

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
    EXPECT_EQ(fs->readFile(root + "/sub", 100), std::nullopt);
    EXPECT_EQ(fs->kind(root + "/sub"), FileKind::directory);
    EXPECT_EQ(fs->kind(root + "/missing"), FileKind::missing);
    EXPECT_EQ(fs->listDirectory(root), (std::vector<std::string>{"g", "sub"}));
    EXPECT_EQ(fs->listDirectory(root + "/g"), std::vector<std::string>{});
  }
}

// Files under /proc report a size of 0 and then give more: the content counts, not the size.
TEST(FileSystem, AFileThatGrowsWhileReadIsHeldToTheCap) {
  auto status = posixFileSystem()->readFile("/proc/self/status", 1 << 20);
  ASSERT_TRUE(status);
  EXPECT_TRUE(status->starts_with("Name:"));
  EXPECT_EQ(posixFileSystem()->readFile("/proc/self/status", 4), std::nullopt);
  EXPECT_EQ(posixFileSystem()->kind("/dev/null"), FileKind::other);
}

TEST(FileSystem, OnlyPlainNamesAreSingleFileNames) {
  for (std::string_view name : {"a", "de.lproj", "...", ".hidden"})
    EXPECT_TRUE(isSingleFileName(name)) << name;
  for (std::string_view name : std::vector<std::string_view>{"", ".", "..", "a/b", "/", "a\\b",
                                                             std::string_view("a\0b", 3)})
    EXPECT_FALSE(isSingleFileName(name)) << name;
}

}  // namespace
}  // namespace os
