// The suite is replaced whole or not at all: whatever fails on the way (a full disk, a rename, a
// list its readers would refuse, a link or a folder in its place), the old suite stays as it was
// and no temporary is left beside it.
#include "host/store/SuiteFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/os/MemoryWritableFileSystem.h"
#include "support/RunProgram.h"

namespace host {
namespace {

using foundation::PlistDictionary;
using foundation::PlistValue;
using Fault = os::MemoryWritableFileSystem::Fault;

const SuiteFile kSuite = SuiteFile::in("/c");
const std::string kPreferences = kSuite.path.parent_path().string();

struct Store {
  os::MemoryWritableFileSystem files;
  Store() { files.addFile(kSuite.path.string(), "old"); }
  std::vector<std::string> everything() const { return files.everything(); }
};

const PlistDictionary kValues = {{"widget_balance", {12.5}}};

TEST(SuiteFile, AFailedWriteLeavesTheOldSuiteAndNoTemporary) {
  for (Fault fault : {Fault::diskFull, Fault::renameFails}) {
    Store store;
    const auto before = store.everything();
    store.files.inject(fault, fault == Fault::diskFull ? kPreferences : kSuite.path.string());
    auto written = writeSuite(store.files, kSuite, kValues);
    ASSERT_FALSE(written);
    EXPECT_NE(written.failure().message.find("cannot write " + kSuite.path.string()),
              std::string::npos)
        << written.failure().message;
    EXPECT_EQ(store.everything(), before);
    EXPECT_EQ(store.files.readFile(kSuite.path.string(), 100), "old");
  }
  Store store;
  ASSERT_TRUE(writeSuite(store.files, kSuite, kValues));
  auto list = foundation::readPropertyList(*store.files.readFile(kSuite.path.string(), 1 << 20));
  ASSERT_TRUE(list);
  EXPECT_TRUE(*list == PlistValue{kValues});
  EXPECT_EQ(store.files.listDirectory(kPreferences).size(), 1u);
}

TEST(SuiteFile, NeverWritesAListItsReadersRefuseOrThroughALinkOrOverAFolder) {
  // Written once, read nine times: more text than a list may expand to.
  const std::string text(1 << 20, 'x');
  PlistDictionary expands = {{"a", {foundation::PlistArray(9, PlistValue{text})}}};
  PlistValue deep{true};
  for (int i = 0; i < foundation::maxPropertyListDepth; ++i)
    deep = PlistValue{foundation::PlistArray{deep}};
  const std::pair<PlistDictionary, std::string> refused[] = {{expands, "would not read back"},
                                                             {{{"a", deep}}, "nests deeper"}};
  for (const auto& [values, why] : refused) {
    Store store;
    auto written = writeSuite(store.files, kSuite, values);
    ASSERT_FALSE(written);
    EXPECT_NE(written.failure().message.find(why), std::string::npos) << written.failure().message;
    EXPECT_EQ(store.files.readFile(kSuite.path.string(), 100), "old");
  }
  os::MemoryWritableFileSystem linked;
  linked.addSymbolicLink(kSuite.path.string());
  auto written = writeSuite(linked, kSuite, kValues);
  ASSERT_FALSE(written);
  EXPECT_NE(written.failure().message.find("symbolic link"), std::string::npos);
  EXPECT_TRUE(linked.isSymbolicLink(kSuite.path.string()));
  os::MemoryWritableFileSystem folder;
  folder.addDirectory(kSuite.path.string());
  written = writeSuite(folder, kSuite, kValues);
  ASSERT_FALSE(written);
  EXPECT_NE(written.failure().message.find("is a folder"), std::string::npos);
}

namespace fs = std::filesystem;

// One writer's edit on the machine's own disk, as `store set` makes it: locked, read, replaced.
Outcome set(const SuiteFile& suite, const std::string& key) {
  auto lock = lockSuite(suite, [](const Warning&) {});
  if (!lock) return lock.failure();
  auto reading = readSuite(suite, Links::refused);
  if (!reading) return reading.failure();
  PlistDictionary values = reading->values.value_or(PlistDictionary{});
  values[key] = PlistValue{std::string("v")};
  return writeSuite(*os::posixWritableFileSystem(), suite, values);
}

// Writers at once queue on the lock: two loops of edits, each of its own keys, keep every key.
TEST(SuiteFile, WritersAtOnceLoseNoKey) {
  const SuiteFile suite = SuiteFile::in(testing_support::makeTempDirectory() + "/c");
  auto writer = [&](const char* prefix) {
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(set(suite, prefix + std::to_string(i)));
  };
  std::thread a(writer, "a"), b(writer, "b");
  a.join();
  b.join();
  auto reading = readSuite(suite, Links::refused);
  ASSERT_TRUE(reading && reading->values);
  EXPECT_EQ(reading->values->size(), 100u);
}

// A rewrite keeps the owner and mode of a suite that is not root's; temporaries that killed
// writers left are swept, and nothing else: not a young one, a locked one, a look-alike or a link.
TEST(SuiteFile, KeepsTheOwnerAndSweepsOnlyDeadWritersTemporaries) {
  const SuiteFile suite = SuiteFile::in(testing_support::makeTempDirectory() + "/c");
  ASSERT_TRUE(set(suite, "a"));
  const fs::path folder = suite.path.parent_path();
  const std::string temp = "." + suite.path.filename().string() + ".tmp-";
  auto make = [&](const std::string& name, bool old) {
    std::ofstream(folder / name) << "x";
    if (old)
      fs::last_write_time(folder / name, fs::file_time_type::clock::now() - std::chrono::hours(1));
  };
  const std::vector<std::string> stay = {
      temp + "Young1",          temp + "Lockd1",  temp + "Link01", "target",
      temp + "Dead0",           temp + "Dead012", temp + "Dead-1", temp.substr(1) + "Dead01",
      ".other.plist.tmp-Dead01"};
  make(temp + "Dead01", true);
  make(temp + "Young1", false);
  for (std::size_t i = 1; i < stay.size(); ++i)
    if (i != 2) make(stay[i], true);
  fs::create_symlink(folder / "target", folder / (temp + "Link01"));
  const timespec anHourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
  ::utimensat(AT_FDCWD, (folder / (temp + "Link01")).c_str(), anHourAgo, AT_SYMLINK_NOFOLLOW);
  int locked = ::open((folder / (temp + "Lockd1")).c_str(), O_RDONLY);
  ASSERT_EQ(::flock(locked, LOCK_EX), 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(suite.path.c_str(), 4321, 4322), 0);
  }
  ::chmod(suite.path.c_str(), 0640);

  ASSERT_TRUE(set(suite, "b"));
  ::close(locked);
  EXPECT_FALSE(fs::exists(folder / (temp + "Dead01")));
  for (const std::string& name : stay)
    EXPECT_TRUE(fs::exists(fs::symlink_status(folder / name))) << name;
  EXPECT_TRUE(fs::is_symlink(folder / (temp + "Link01")));
  struct stat st {};
  ASSERT_EQ(::stat(suite.path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (!root) GTEST_SKIP() << "keeping another user's ownership needs root";
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 4322u);
}

}  // namespace
}  // namespace host
