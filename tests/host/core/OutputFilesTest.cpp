// Outputs are written whole or not at all, and a failed command leaves nothing new behind.
#include "host/core/OutputFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/RunProgram.h"

namespace host {
namespace {

namespace fs = std::filesystem;

std::size_t entriesIn(const fs::path& dir) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

TEST(OutputFiles, NothingIsVisibleUntilCommittedAndNothingStaysWhenAbandoned) {
  fs::path dir = testing_support::makeTempDirectory();
  {
    OutputFiles files;
    ASSERT_TRUE(files.stage(dir / "a.png", "picture").ok());
    EXPECT_EQ(entriesIn(dir), 1u);  // the temporary file only
  }
  EXPECT_EQ(entriesIn(dir), 0u);
  std::ofstream(dir / "a.png") << "old";
  ASSERT_TRUE(writeFileAtomically(dir / "a.png", "new").ok());
  EXPECT_EQ(testing_support::readFile((dir / "a.png").string()), "new");
  EXPECT_EQ(entriesIn(dir), 1u);
}

TEST(OutputFiles, AFailedCommitRemovesWhatItPlacedAndAMissingFolderIsNotMade) {
  fs::path dir = testing_support::makeTempDirectory();
  fs::create_directories(dir / "taken" / "inside");  // a non-empty folder cannot be renamed over
  {
    OutputFiles files;
    ASSERT_TRUE(files.stage(dir / "new.png", "picture").ok());
    ASSERT_TRUE(files.stage(dir / "taken", "report").ok());
    EXPECT_EQ(files.commit().failure(),
              Failure::runtime("cannot write " + (dir / "taken").string() + ": Is a directory"));
  }
  EXPECT_EQ(entriesIn(dir), 1u);
  auto r = writeFileAtomically(dir / "missing" / "a.png", "x");
  ASSERT_FALSE(r.ok());
  EXPECT_NE(r.failure().message.find("No such file or directory"), std::string::npos);
  EXPECT_EQ(entriesIn(dir), 1u);
}

}  // namespace
}  // namespace host
