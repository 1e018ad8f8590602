// A snapshot folder as verify reads and --update rewrites it: a manifest that would lead outside
// the folder or stand for "anything" is refused, and a cell written or removed leaves exactly its
// two files or none, never reaching through a symbolic link.
#include <gtest/gtest.h>

#include "host/snapshot/SnapshotCells.h"
#include "host/snapshot/SnapshotManifest.h"
#include "platform/os/MemoryWritableFileSystem.h"

namespace host {
namespace {

TEST(SnapshotFolder, ReadsItsOwnManifestAndRefusesADoctoredOne) {
  SnapshotManifest m;
  m.program = "tamsa-widgets 1";
  m.device = "iPhone 15";
  m.options = {{"scenario", "all"}};
  m.cells = {"signed-out/de/TamsaWidget-small-light"};
  os::MemoryWritableFileSystem files;
  files.addFile("/s/manifest.json", m.toJson());
  auto read = SnapshotManifest::read(files, "/s");
  ASSERT_TRUE(read) << read.failure().message;
  EXPECT_EQ(read->toJson(), m.toJson());

  const std::string good = m.toJson();
  auto doctored = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::pair<std::string, std::string> refused[] = {
      {doctored("signed-out/de", "../../etc"), "outside its folder"},
      {doctored("\"scenario\"", "\"output\""), "an option snapshots do not take"},
      {doctored("\"pixels\": 0", "\"pixels\": -1"), "a whole number from 0 to 67108864"},
      {doctored("\"pixels\": 0", "\"pixels\": 1e30"), "a whole number from 0 to 67108864"},
      {doctored("\"pixels\": 0", "\"pixels\": 2.5"), "a whole number from 0 to 67108864"},
      {doctored("\"pixels\": 0", "\"pixels\": 1099511627776"), "a whole number from 0 to"},
      {"[]", "is not JSON"},
  };
  for (const auto& [text, why] : refused) {
    files.addFile("/s/manifest.json", text);
    auto r = SnapshotManifest::read(files, "/s");
    ASSERT_FALSE(r) << why;
    EXPECT_NE(r.failure().message.find(why), std::string::npos) << r.failure().message;
  }
  os::MemoryWritableFileSystem linked;
  linked.addSymbolicLink("/s/manifest.json");
  for (const char* folder : {"/s", "/nowhere"})
    EXPECT_NE(SnapshotManifest::read(linked, folder).failure().message.find("is missing"),
              std::string::npos);
}

TEST(SnapshotFolder, CellsAreWrittenAndRemovedWholeAndNeverThroughALink) {
  os::MemoryWritableFileSystem files;
  files.addDirectory("/s");
  ASSERT_TRUE(writeCell(files, "/s", "a/de/Cell", "png", "{}\n"));
  EXPECT_EQ(files.everything(),
            (std::vector<std::string>{"/s/", "/s/a/", "/s/a/de/", "/s/a/de/Cell.json",
                                      "/s/a/de/Cell.png"}));
  EXPECT_EQ(removeCell(files, "/s", "a/de/Cell"), "");
  EXPECT_EQ(files.everything(), (std::vector<std::string>{"/s/", "/s/a/", "/s/a/de/"}));

  files.addSymbolicLink("/s/linked");
  EXPECT_FALSE(writeCell(files, "/s", "linked/de/Cell", "png", "{}\n"));
  EXPECT_EQ(removeCell(files, "/s", "linked/de/Cell"), "through a symbolic link");
  EXPECT_TRUE(files.isSymbolicLink("/s/linked"));
  files.addFile("/s/b/Cell.png", "old");
  files.inject(os::MemoryWritableFileSystem::Fault::renameFails, "/s/b/Cell.png");
  EXPECT_FALSE(writeCell(files, "/s", "b/Cell", "new", "{}\n"));
  EXPECT_EQ(files.listDirectory("/s/b"), std::vector<std::string>{"Cell.png"});
  EXPECT_EQ(files.readFile("/s/b/Cell.png", 10), "old");
}

}  // namespace
}  // namespace host
