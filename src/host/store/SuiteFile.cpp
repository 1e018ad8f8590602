#include "host/store/SuiteFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "host/core/OutputFiles.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/os/Descriptor.h"
#include "shared/AppConfiguration.h"

namespace host {
namespace {

namespace fs = std::filesystem;

// A temporary this old whose writer holds no lock on it was left by a writer that died.
constexpr std::time_t kStaleSeconds = 60;

Failure cannot(const std::string& what, const fs::path& path, int error) {
  return Failure::runtime("cannot " + what + " " + path.string() + ": " + std::strerror(error));
}

using os::Descriptor;
using os::ownLikeFolder;

// Refuses what is not a plain file where the suite should be.
std::optional<Failure> notAFile(const fs::path& path, const struct stat& st) {
  if (S_ISLNK(st.st_mode))
    return Failure::runtime(path.string() +
                            " is a symbolic link: the store is never written through one");
  if (S_ISDIR(st.st_mode))
    return Failure::runtime(path.string() + " is a folder, not a suite file");
  if (!S_ISREG(st.st_mode)) return Failure::runtime(path.string() + " is not a regular file");
  return std::nullopt;
}

// Reads at most limit + 1 bytes of a regular file.
Result<std::string> readAtMost(const fs::path& path, std::size_t limit, Links links) {
  int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == Links::refused ? O_NOFOLLOW : 0);
  Descriptor fd(::open(path.c_str(), flags));
  if (fd.get() < 0) return cannot("read", path, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
    return Failure::runtime(path.string() + " is not a regular file");
  std::string bytes(limit + 1, '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return cannot("read", path, errno);
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

// Makes dir unless it is there; refuses a link or a file in its place.
Outcome makeFolder(const fs::path& dir) {
  struct stat st {};
  if (::lstat(dir.c_str(), &st) == 0) {
    if (S_ISLNK(st.st_mode))
      return Failure::runtime(dir.string() +
                              " is a symbolic link: the store is never written through one");
    if (!S_ISDIR(st.st_mode)) return Failure::runtime(dir.string() + " is not a folder");
    return Done{};
  }
  if (errno != ENOENT) return cannot("reach", dir, errno);
  if (::mkdir(dir.c_str(), 0755) != 0) {
    if (errno == EEXIST) return makeFolder(dir);  // made meanwhile: checked again
    return cannot("make folder", dir, errno);
  }
  Descriptor fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() >= 0) ownLikeFolder(fd.get(), dir.parent_path());
  return Done{};
}

SuiteReading nothingFound(SuiteReading::Found found) {
  SuiteReading reading;
  reading.found = found;
  reading.values.emplace();
  return reading;
}

// Removes the temporaries of dead writers in the suite's folder. Each candidate is looked at
// through one descriptor that never follows a link, and removed only while this sweep holds the
// lock a live writer keeps on its temporary, and only if its name still names that file.
void sweepTemporaries(const SuiteFile& suite) {
  const fs::path folder = suite.path.parent_path();
  Descriptor dirFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (dirFd.get() < 0) return;
  DIR* dir = ::fdopendir(::dup(dirFd.get()));
  if (!dir) return;
  const std::time_t staleBefore = std::time(nullptr) - kStaleSeconds;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!isTemporaryOf(name, suite.path)) continue;
    struct stat st {};
    if (::fstatat(dirFd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(st.st_mode) || st.st_mtime >= staleBefore)
      continue;
    Descriptor fd(::openat(dirFd.get(), name.c_str(),
                           O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat opened {
    }, again{};
    if (fd.get() < 0 || ::fstat(fd.get(), &opened) != 0 || opened.st_ino != st.st_ino ||
        opened.st_dev != st.st_dev || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
      continue;
    if (::fstatat(dirFd.get(), name.c_str(), &again, AT_SYMLINK_NOFOLLOW) == 0 &&
        again.st_ino == st.st_ino && again.st_dev == st.st_dev)
      ::unlinkat(dirFd.get(), name.c_str(), 0);
  }
  ::closedir(dir);
}

bool sameFile(const fs::path& a, const fs::path& b) {
  struct stat sa {
  }, sb{};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

}  // namespace

SuiteFile SuiteFile::in(const fs::path& container) {
  return {container, container / "Library" / "Preferences" /
                         (std::string(tamsa::appGroupIdentifier) + ".plist")};
}

fs::path SuiteFile::lockPath() const {
  return path.parent_path() / ("." + path.filename().string() + ".tamsa-widgets-lock");
}

Result<SuiteReading> readSuite(const SuiteFile& suite, Links links) {
  using Found = SuiteReading::Found;
  struct stat st {};
  if (::stat(suite.container.c_str(), &st) != 0)
    return nothingFound(errno == ENOTDIR ? Found::containerNotFolder : Found::noContainer);
  if (!S_ISDIR(st.st_mode)) return nothingFound(Found::containerNotFolder);
  std::optional<fs::path> link;
  for (const fs::path& p :
       {suite.path.parent_path().parent_path(), suite.path.parent_path(), suite.path})
    if (!link && ::lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) link = p;
  const int found =
      links == Links::followed ? ::stat(suite.path.c_str(), &st) : ::lstat(suite.path.c_str(), &st);
  if (found != 0) {
    if (errno != ENOENT && errno != ENOTDIR) return cannot("reach", suite.path, errno);
    SuiteReading reading = nothingFound(Found::noSuite);
    if (links == Links::followed) reading.throughLink = link;
    return reading;
  }
  if (auto refused = notAFile(suite.path, st)) return *refused;
  constexpr std::size_t kLimit = foundation::UserDefaults::maxFileBytes;
  auto bytes = readAtMost(suite.path, kLimit, links);
  if (!bytes) return bytes.failure();
  SuiteReading reading{Found::suite, std::nullopt, "", "", link};
  if (bytes->empty()) {
    reading.values.emplace();
  } else if (bytes->size() > kLimit) {
    reading.problem = "is larger than the " + std::to_string(kLimit) +
                      " bytes the widget reads (it reads as empty)";
  } else if (auto list = foundation::readPropertyList(*bytes); !list) {
    reading.problem = "does not parse as a property list (the widget reads it as empty)";
  } else if (auto* d = std::get_if<foundation::PlistDictionary>(&list->value)) {
    reading.values = std::move(*d);
    if (!bytes->starts_with("bplist") &&
        !foundation::readXmlPropertyList(*bytes, foundation::Base64::strict))
      reading.lossOnRewrite =
          "holds <data> whose text is not whole base64 (characters outside the alphabet, or a "
          "stray last one): the widget reads only part of it, and a rewrite would keep only that";
  } else {
    reading.problem =
        "holds a property list that is not a dictionary (the widget reads it as empty)";
  }
  return reading;
}

SuiteLock::~SuiteLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the lock
}

Result<SuiteLock> lockSuite(const SuiteFile& suite, const WarningSink& warn) {
  std::error_code ec;
  if (fs::exists(suite.container, ec) && !fs::is_directory(suite.container, ec))
    return Failure::runtime("the container " + suite.container.string() + " is not a folder");
  if (!fs::is_directory(suite.container, ec)) {
    fs::create_directories(suite.container, ec);
    if (ec) return cannot("make folder", suite.container, ec.value());
  }
  for (const fs::path& dir : {suite.path.parent_path().parent_path(), suite.path.parent_path()})
    if (auto made = makeFolder(dir); !made) return made.failure();
  // Read-only is enough for flock, so that the app's user can lock a file root made, and the
  // reverse; no link is followed and nothing but a plain file is taken.
  const fs::path path = suite.lockPath();
  Descriptor fd(::open(path.c_str(),
                       O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644));
  if (fd.get() < 0) return cannot("open the writers' lock", path, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
    return Failure::runtime(path.string() + " (the writers' lock) is not a regular file");
  if (st.st_uid == ::geteuid()) ownLikeFolder(fd.get(), suite.path.parent_path());
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK) return cannot("lock", path, errno);
    warn({"waiting for another writer of " + suite.path.string() + " (it holds " + path.string() +
          ")"});
    while (::flock(fd.get(), LOCK_EX) != 0)
      if (errno != EINTR) return cannot("lock", path, errno);
  }
  SuiteLock lock(fd.release());
  sweepTemporaries(suite);
  return lock;
}

Outcome writeSuite(os::WritableFileSystem& files, const SuiteFile& suite,
                   const foundation::PlistDictionary& values) {
  auto bytes = foundation::writeBinaryPropertyList(foundation::PlistValue{values});
  if (!bytes)
    return Failure::runtime("the suite nests deeper than a property list may (" +
                            std::to_string(foundation::maxPropertyListDepth) + ")");
  if (bytes->size() > foundation::UserDefaults::maxFileBytes)
    return Failure::runtime("the suite would take " + std::to_string(bytes->size()) +
                            " bytes; the widget reads at most " +
                            std::to_string(foundation::UserDefaults::maxFileBytes));
  // The reader also refuses lists whose shared values expand past its caps.
  if (!foundation::readPropertyList(*bytes))
    return Failure::runtime(
        "the suite would not read back: its " + std::to_string(bytes->size()) +
        " bytes expand to more than the " + std::to_string(foundation::maxPropertyListValues) +
        " values or " + std::to_string(foundation::maxPropertyListTextBytes) +
        " bytes of text the widget reads from a list (equal values are written once and counted "
        "each time); the suite is left as it was");
  // Checked again here, under the lock: the file may have changed since it was read.
  const std::string path = suite.path.string();
  if (files.isSymbolicLink(path))
    return Failure::runtime(path + " is a symbolic link: the store is never written through one");
  const os::FileKind kind = files.kind(path);
  if (kind == os::FileKind::directory)
    return Failure::runtime(path + " is a folder, not a suite file");
  if (kind == os::FileKind::other) return Failure::runtime(path + " is not a regular file");
  // Preferences hold the user's money figures: private unless the file said otherwise; the
  // replaced file's owner and mode are kept.
  return os::writeWhole(files, path, temporaryPattern(suite.path), *bytes,
                        {0600, os::Durability::syncedBeforeRename, os::Ownership::asReplaced});
}

bool isSameSuite(const SuiteFile& a, const SuiteFile& b) {
  return sameFile(a.container, b.container) ||
         sameFile(a.path.parent_path(), b.path.parent_path()) || sameFile(a.path, b.path);
}

}  // namespace host
