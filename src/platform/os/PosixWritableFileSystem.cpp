// WritableFileSystem over POSIX calls. A file is made under a name no one else has (mkstemp),
// written, given its owner and mode, synced when asked and only then renamed into place, so a
// reader sees the old file or the new one, never a part.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

#include "platform/os/Descriptor.h"
#include "platform/os/WritableFileSystem.h"

namespace os {
namespace {

namespace fs = std::filesystem;
using base::Done;
using base::Failure;
using base::Outcome;
using base::Result;

Failure cannot(const std::string& what, const std::string& path, int error) {
  return Failure::runtime("cannot " + what + " " + path + ": " + std::strerror(error));
}

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

// Makes a rename in dir durable; a failure only weakens durability, so it is not reported.
void syncFolder(const std::string& dir) {
  Descriptor fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

// Gives the new file at fd the owner and mode it should have.
std::optional<Failure> settle(int fd, const std::string& folder, const std::string& replaced,
                              const WriteSettings& settings) {
  mode_t mode = settings.mode;
  if (settings.ownership == Ownership::asReplaced) {
    struct stat old {
    }, st{};
    if (::lstat(replaced.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
      if (::fstat(fd, &st) != 0) return cannot("write", replaced, errno);
      if ((st.st_uid != old.st_uid || st.st_gid != old.st_gid) &&
          ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return Failure::runtime("cannot keep the owner of " + replaced + " (user " +
                                std::to_string(old.st_uid) + ", group " +
                                std::to_string(old.st_gid) +
                                "): run as that user or as root; it is left as it was");
      mode = old.st_mode & 07777;
    } else {
      ownLikeFolder(fd, folder);
    }
  }
  if (::fchmod(fd, mode) != 0) return cannot("write", replaced, errno);
  return std::nullopt;
}

// The process's umask, read without setting it (umask() sets it for every thread at once).
mode_t currentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("Umask:", 0) == 0)
      return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8) & 0777);
  return 022;
}

// The lock lives as long as the descriptor of the folder it was taken on.
class PosixFolderLock final : public WritableFileSystem::FolderLock {
 public:
  explicit PosixFolderLock(int fd) : fd_(fd) {}
  bool isAt(const std::string& path) const override {
    struct stat a {
    }, b{};
    return ::fstat(fd_.get(), &a) == 0 && ::lstat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
  }

 private:
  Descriptor fd_;
};

class PosixWritableFileSystem final : public WritableFileSystem {
 public:
  FileKind kind(const std::string& path) const override { return reader_->kind(path); }
  std::optional<std::string> readFile(const std::string& path,
                                      std::size_t maxBytes) const override {
    return reader_->readFile(path, maxBytes);
  }
  std::vector<std::string> listDirectory(const std::string& path) const override {
    return reader_->listDirectory(path);
  }

  bool isSymbolicLink(const std::string& path) const override {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
  }

  Result<std::string> readPlainFile(const std::string& path, std::size_t maxBytes) const override {
    // Opened first and checked after, so the file checked is the file read.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (fd.get() < 0) return cannot("read", path, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return cannot("read", path, errno);
    if (!S_ISREG(st.st_mode)) return Failure::runtime(path + " is not a regular file");
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes)
      return Failure::runtime(path + " is larger than " + std::to_string(maxBytes) + " bytes");
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
      ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return cannot("read", path, errno);
      if (n == 0) return Failure::runtime(path + " shrank while it was read");
      got += static_cast<std::size_t>(n);
    }
    return bytes;
  }

  Result<std::string> makeTemporaryFile(const std::string& destination, const std::string& pattern,
                                        std::string_view bytes,
                                        const WriteSettings& settings) override {
    const std::string folder = folderOf(destination);
    std::string temporary = (fs::path(folder) / pattern).string();
    // Failures name the destination: the temporary is ours, the destination the user's.
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) return cannot("write", destination, errno);
    auto fail = [&](Failure failure) -> Result<std::string> {
      ::unlink(temporary.c_str());
      return failure;
    };
    // Locked while it is written, so that no sweep of stale temporaries takes it.
    if (::flock(fd.get(), LOCK_EX) != 0) return fail(cannot("lock", temporary, errno));
    if (int error = writeAll(fd.get(), bytes)) return fail(cannot("write", destination, error));
    if (auto refused = settle(fd.get(), folder, destination, settings)) return fail(*refused);
    if (settings.durability == Durability::syncedBeforeRename && ::fsync(fd.get()) != 0)
      return fail(cannot("write", destination, errno));
    if (::close(fd.release()) != 0) return fail(cannot("write", destination, errno));
    return temporary;
  }

  Outcome writeFile(const std::string& path, std::string_view bytes,
                    const WriteSettings& settings) override {
    Descriptor fd(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, settings.mode));
    if (fd.get() < 0) return cannot("write", path, errno);
    if (int error = writeAll(fd.get(), bytes)) return cannot("write", path, error);
    if (auto refused = settle(fd.get(), folderOf(path), path, settings)) return *refused;
    if (settings.durability == Durability::syncedBeforeRename && ::fsync(fd.get()) != 0)
      return cannot("write", path, errno);
    if (::close(fd.release()) != 0) return cannot("write", path, errno);
    return Done{};
  }

  Result<std::string> makeTemporaryFolder(const std::string& folder,
                                          const std::string& pattern) override {
    std::string made = (fs::path(folder) / pattern).string();
    if (!::mkdtemp(made.data())) return cannot("make a folder in", folder, errno);
    return made;
  }

  Outcome makeFolders(const std::string& path) override {
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec) return cannot("make", path, ec.value());
    return Done{};
  }

  Outcome rename(const std::string& from, const std::string& to, Durability durability) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return cannot("write", to, errno);
    if (durability == Durability::syncedBeforeRename) syncFolder(folderOf(to));
    return Done{};
  }

  Outcome remove(const std::string& path) override {
    std::error_code ec;
    fs::remove(path, ec);
    if (ec) return cannot("remove", path, ec.value());
    return Done{};
  }

  Outcome removeTree(const std::string& path) override {
    std::error_code ec;
    fs::remove_all(path, ec);
    if (ec) return cannot("remove", path, ec.value());
    return Done{};
  }

  Outcome giveFolderMode(const std::string& path, const std::string& like) override {
    struct stat st {};
    const mode_t mode = ::lstat(like.c_str(), &st) == 0 && S_ISDIR(st.st_mode)
                            ? st.st_mode & 07777
                            : 0777 & ~currentUmask();
    if (::chmod(path.c_str(), mode) != 0) return cannot("make", like, errno);
    return Done{};
  }

  Result<std::unique_ptr<FolderLock>> lockFolder(const std::string& path, LockWait wait) override {
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return cannot("lock", path, errno);
    auto lock = std::make_unique<PosixFolderLock>(fd);
    const int how = LOCK_EX | (wait == LockWait::never ? LOCK_NB : 0);
    while (::flock(fd, how) != 0)
      if (errno != EINTR || wait == LockWait::never) return cannot("lock", path, errno);
    return std::unique_ptr<FolderLock>(std::move(lock));
  }

 private:
  std::shared_ptr<const FileSystem> reader_ = posixFileSystem();
};

}  // namespace

std::shared_ptr<WritableFileSystem> posixWritableFileSystem() {
  static const auto fs = std::make_shared<PosixWritableFileSystem>();
  return fs;
}

}  // namespace os
