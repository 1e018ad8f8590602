#include "host/gallery/GalleryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "support/RunProgram.h"

namespace host {
namespace {

namespace fs = std::filesystem;

TEST(GalleryFolder, NamesFromDataNeverLeaveTheFolder) {
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

TEST(GalleryFolder, ReplacesOnlyAnEmptyFolderOrAnEarlierGallery) {
  fs::path dir = testing_support::makeTempDirectory();
  fs::create_directories(dir / "mine");
  std::ofstream(dir / "mine" / "thesis.txt") << "years of work";
  EXPECT_FALSE(GalleryFolder::prepare(dir / "mine").ok());

  for (const char* run : {"run0", "run1"}) {
    auto folder = GalleryFolder::prepare(dir / "gallery");
    ASSERT_TRUE(folder.ok() && folder->write(fs::path("en") / run, "x").ok());
    EXPECT_FALSE(fs::exists(dir / "gallery" / "en" / run));  // not before the commit
    ASSERT_TRUE(folder->commit().ok());
  }
  EXPECT_FALSE(fs::exists(dir / "gallery" / "en" / "run0"));  // replaced whole
  ASSERT_TRUE(GalleryFolder::prepare(dir / "gallery").ok());  // abandoned at once
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
  EXPECT_TRUE(fs::exists(dir / "gallery" / "en" / "run1"));
}

}  // namespace
}  // namespace host
