// Outputs are written whole or not at all, and a failed command leaves nothing new behind.
#include "host/core/OutputFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/RunProgram.h"

namespace host {
namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(OutputFiles, NothingIsVisibleUntilCommittedAndNothingStaysWhenAbandoned) {
  fs::path dir = testing_support::makeTempDirectory();
  {
    OutputFiles files;
    ASSERT_TRUE(files.stage(dir / "a.png", "picture").ok());
    EXPECT_FALSE(fs::exists(dir / "a.png"));
  }
  EXPECT_TRUE(fs::is_empty(dir));
  std::ofstream(dir / "a.png") << "old";
  OutputFiles files;
  ASSERT_TRUE(files.stage(dir / "a.png", "new").ok());
  ASSERT_TRUE(files.commit().ok());
  EXPECT_EQ(read(dir / "a.png"), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(OutputFiles, AFailedCommitTakesBackWhatItPlaced) {
  fs::path dir = testing_support::makeTempDirectory();
  fs::create_directories(dir / "taken" / "inside");  // a non-empty folder cannot be renamed over
  OutputFiles files;
  ASSERT_TRUE(files.stage(dir / "new.png", "picture").ok());
  ASSERT_TRUE(files.stage(dir / "taken", "report").ok());
  auto r = files.commit();
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.failure().status, ExitStatus::failure);
  EXPECT_NE(r.failure().message.find("taken"), std::string::npos) << r.failure().message;
  EXPECT_FALSE(fs::exists(dir / "new.png"));
}

TEST(OutputFiles, AMissingFolderIsNotMade) {
  fs::path dir = testing_support::makeTempDirectory();
  auto r = writeFileAtomically(dir / "missing" / "a.png", "x");
  ASSERT_FALSE(r.ok());
  EXPECT_NE(r.failure().message.find("No such file or directory"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "missing"));
}

}  // namespace
}  // namespace host
