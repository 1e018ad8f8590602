#include "host/core/GalleryFolder.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <shared_mutex>

#include "host/core/InterruptWatch.h"
#include "host/core/OutputFiles.h"

namespace host {
namespace {

namespace fs = std::filesystem;

Failure cannot(const char* command, const std::string& what, const fs::path& path, int error) {
  return Failure::runtime(std::string(command) + ": cannot " + what + " " + path.string() + ": " +
                          std::strerror(error));
}

fs::path parentOf(const fs::path& output) {
  return output.parent_path().empty() ? fs::path(".") : output.parent_path();
}

// The folder itself, opened (never through a symbolic link) to hold its lock.
int openFolder(const fs::path& path) {
  return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool holdsFile(int folder, const char* name) {
  struct stat st {};
  return ::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
}

bool isSameFile(int fd, const fs::path& path) {
  struct stat a {
  }, b{};
  return ::fstat(fd, &a) == 0 && ::lstat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
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

// The mode the output folder keeps: that of the folder it replaces, else a new folder's.
mode_t outputMode(const fs::path& output) {
  struct stat st {};
  if (::lstat(output.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return st.st_mode & 07777;
  return 0777 & ~currentUmask();
}

}  // namespace

// Shared with the interrupt watch's thread, so it lives on the heap and never moves.
struct GalleryFolder::Staging {
  fs::path output, folder;  // folder: empty until made
  const char* command;
  int lock = -1;  // the staging folder, locked for as long as this run may use it
  // Writers share it; the commit, the abandonment and an interrupt take it whole, so none of
  // them removes or moves the folder under a writer.
  std::shared_mutex mutex;
  bool finished = false;  // committed or abandoned: the folder is no longer ours to remove
  std::optional<InterruptWatch> watch;

  Staging(fs::path out, const char* cmd) : output(std::move(out)), command(cmd) {
    watch.emplace([this] {
      std::unique_lock hold(mutex);
      removeFolder();
      // The process ends now; the lock stays taken so no writer touches the folder again.
      (void)hold.release();
    });
  }

  ~Staging() {
    {
      std::unique_lock hold(mutex);
      removeFolder();
      finished = true;
    }
    if (lock >= 0) ::close(lock);
    watch.reset();
  }

  // With the mutex held. Only the folder this run made and locked: not whatever took its name.
  void removeFolder() {
    std::error_code ec;
    if (!finished && !folder.empty() && (lock < 0 || isSameFile(lock, folder)))
      fs::remove_all(folder, ec);
  }
};

std::size_t sweepStaleStaging(const fs::path& output, const FolderKind& kind) {
  std::size_t removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(parentOf(output), ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path path = it->path();
    if (!isTemporaryOf(path.filename().string(), output)) continue;
    int fd = openFolder(path);
    if (fd < 0) continue;  // a symbolic link, or not a folder
    // A live run holds the lock; a run that died released it with its last descriptor.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && holdsFile(fd, kind.marker) && isSameFile(fd, path)) {
      std::error_code gone;
      if (fs::remove_all(path, gone) > 0 && !gone) ++removed;
    }
    ::close(fd);
  }
  return removed;
}

Result<GalleryFolder> GalleryFolder::prepare(const fs::path& given, const FolderKind& kind) {
  // "out/" names the folder "out": its staging folder goes beside it, not inside.
  fs::path output = given;
  while (!output.has_filename() && output.has_relative_path()) output = output.parent_path();
  std::error_code ec;
  auto status = fs::symlink_status(output, ec);
  if (fs::exists(status)) {
    bool replaceable = fs::is_directory(status) &&
                       (fs::is_empty(output, ec) || fs::exists(output / kind.marker, ec));
    if (!replaceable)
      return Failure::usage(std::string(kind.command) + ": " + output.string() +
                            " exists and is not " + kind.what + "; name a new or empty folder");
  }
  sweepStaleStaging(output, kind);
  // Watched before the folder exists, so that no interrupt finds it unwatched.
  auto staging = std::make_unique<Staging>(output, kind.command);
  const fs::path parent = parentOf(output);
  std::string made = (parent / temporaryPattern(output)).string();
  if (!::mkdtemp(made.data())) return cannot(kind.command, "make a folder in", parent, errno);
  {
    std::unique_lock hold(staging->mutex);
    staging->folder = made;
  }
  // Locked before the marker is written: a sweep removes only a folder with the marker that no
  // one locks, so never one a live run is still setting up.
  staging->lock = openFolder(made);
  if (staging->lock < 0 || ::flock(staging->lock, LOCK_EX) != 0)
    return cannot(kind.command, "lock", made, errno);
  GalleryFolder folder(std::move(staging));
  if (auto r = folder.write(kind.marker, "Drawn by tamsa-widgets; replaced when drawn again.\n");
      !r)
    return r.failure();
  return folder;
}

GalleryFolder::GalleryFolder(std::unique_ptr<Staging> staging) : staging_(std::move(staging)) {}
GalleryFolder::GalleryFolder(GalleryFolder&&) noexcept = default;
GalleryFolder::~GalleryFolder() = default;

Outcome GalleryFolder::write(const fs::path& relative, std::string_view bytes) {
  std::shared_lock hold(staging_->mutex);
  fs::path target = staging_->folder / relative;
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  if (ec) return cannot(staging_->command, "make", target.parent_path(), ec.value());
  // Inside the staging folder a plain write will do: nobody sees it before the commit.
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) return cannot(staging_->command, "write", target, errno ? errno : EIO);
  return Done{};
}

Outcome GalleryFolder::commit() {
  Staging& s = *staging_;
  std::unique_lock hold(s.mutex);
  std::error_code ec;
  // mkdtemp made the staging folder private; the result is not.
  if (::chmod(s.folder.c_str(), outputMode(s.output)) != 0)
    return cannot(s.command, "make", s.output, errno);
  fs::path old;
  if (fs::exists(fs::symlink_status(s.output, ec))) {
    std::string pattern = s.output.string() + ".old-XXXXXX";
    if (!::mkdtemp(pattern.data())) return cannot(s.command, "replace", s.output, errno);
    old = pattern;
    if (::rename(s.output.c_str(), old.c_str()) != 0) {
      int error = errno;
      fs::remove(old, ec);
      return cannot(s.command, "replace", s.output, error);
    }
  }
  if (::rename(s.folder.c_str(), s.output.c_str()) != 0) {
    int error = errno;
    if (!old.empty()) ::rename(old.c_str(), s.output.c_str());
    return cannot(s.command, "make", s.output, error);
  }
  s.finished = true;
  if (!old.empty()) fs::remove_all(old, ec);
  return Done{};
}

}  // namespace host
