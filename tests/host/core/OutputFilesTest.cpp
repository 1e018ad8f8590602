// Outputs are written whole or not at all, and a failed command leaves nothing new behind.
#include "host/core/OutputFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/os/MemoryWritableFileSystem.h"
#include "support/RunProgram.h"

namespace host {
namespace {

namespace fs = std::filesystem;
using Fault = os::MemoryWritableFileSystem::Fault;

std::size_t entriesIn(const fs::path& dir) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

// On the machine's own disk: the temporaries are real files beside the destination.
TEST(OutputFiles, NothingIsVisibleUntilCommittedAndNothingStaysWhenAbandoned) {
  fs::path dir = testing_support::makeTempDirectory();
  auto& disk = *os::posixWritableFileSystem();
  {
    OutputFiles files(disk);
    ASSERT_TRUE(files.stage(dir / "a.png", "picture").ok());
    EXPECT_EQ(entriesIn(dir), 1u);  // the temporary file only
  }
  EXPECT_EQ(entriesIn(dir), 0u);
  std::ofstream(dir / "a.png") << "old";
  ASSERT_TRUE(writeFileAtomically(disk, dir / "a.png", "new").ok());
  EXPECT_EQ(testing_support::readFile((dir / "a.png").string()), "new");
  EXPECT_EQ(entriesIn(dir), 1u);
  auto r = writeFileAtomically(disk, dir / "missing" / "a.png", "x");
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.failure(), Failure::runtime("cannot write " + (dir / "missing" / "a.png").string() +
                                          ": No such file or directory"));
  EXPECT_EQ(entriesIn(dir), 1u);
}

// A commit that fails half-way takes back the files it newly placed and keeps those it replaced;
// a full disk fails the stage and leaves nothing.
TEST(OutputFiles, AFailedCommitOrAFullDiskLeavesTheFolderAsItWas) {
  os::MemoryWritableFileSystem disk;
  disk.addFile("/o/kept.json", "old report");
  disk.addDirectory("/full");
  disk.inject(Fault::renameFails, "/o/kept.json");
  disk.inject(Fault::diskFull, "/full");
  const auto before = disk.everything();
  {
    OutputFiles files(disk);
    ASSERT_TRUE(files.stage("/o/new.png", "picture"));
    ASSERT_TRUE(files.stage("/o/kept.json", "report"));
    EXPECT_EQ(files.commit().failure(),
              Failure::runtime("cannot write /o/kept.json: Input/output error"));
  }
  EXPECT_EQ(disk.everything(), before);
  {
    OutputFiles files(disk);
    ASSERT_TRUE(files.stage("/o/new.png", "picture"));
    EXPECT_EQ(files.stage("/full/a.png", "x").failure(),
              Failure::runtime("cannot write /full/a.png: No space left on device"));
  }
  EXPECT_EQ(disk.everything(), before);
}

}  // namespace
}  // namespace host
