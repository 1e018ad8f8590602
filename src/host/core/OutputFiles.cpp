#include "host/core/OutputFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace host {
namespace {

namespace fs = std::filesystem;

Failure cannotWrite(const fs::path& path, int error) {
  return Failure::runtime("cannot write " + path.string() + ": " + std::strerror(error));
}

// Makes a rename in dir durable; a failure only weakens durability, so it is not reported.
void syncFolder(const fs::path& dir) {
  int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

std::string temporaryPattern(const fs::path& destination) {
  return "." + destination.filename().string() + ".tmp-XXXXXX";
}

bool isTemporaryOf(std::string_view name, const fs::path& destination) {
  const std::string pattern = temporaryPattern(destination);
  const std::size_t fixed = pattern.size() - 6;
  if (name.size() != pattern.size() || name.substr(0, fixed) != pattern.substr(0, fixed))
    return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(fixed), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
}

OutputFiles::~OutputFiles() {
  for (const auto& s : staged_) ::unlink(s.temporary.c_str());
}

Outcome OutputFiles::stage(const fs::path& destination, std::string_view bytes,
                           FileSettings settings) {
  fs::path dir = destination.parent_path();
  if (dir.empty()) dir = ".";
  std::string pattern = (dir / temporaryPattern(destination)).string();
  int fd = ::mkstemp(pattern.data());
  if (fd < 0) return cannotWrite(destination, errno);
  staged_.push_back({destination, pattern, settings.durability});
  int error = writeAll(fd, bytes);
  if (error == 0 && ::fchmod(fd, settings.mode) != 0) error = errno;
  if (error == 0 && settings.durability == Durability::syncedBeforeRename && ::fsync(fd) != 0)
    error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) return cannotWrite(destination, error);
  return Done{};
}

Outcome OutputFiles::commit() {
  std::vector<fs::path> placed;  // destinations that did not exist before
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    const Staged& s = staged_[i];
    std::error_code ec;
    bool existed = fs::exists(fs::symlink_status(s.destination, ec));
    if (::rename(s.temporary.c_str(), s.destination.c_str()) != 0) {
      Failure failure = cannotWrite(s.destination, errno);
      for (const auto& p : placed) ::unlink(p.c_str());
      // What was renamed is no longer a temporary; the rest are removed with this object.
      staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(i));
      return failure;
    }
    if (!existed) placed.push_back(s.destination);
    if (s.durability == Durability::syncedBeforeRename) syncFolder(s.destination.parent_path());
  }
  staged_.clear();
  return Done{};
}

Outcome writeFileAtomically(const fs::path& destination, std::string_view bytes,
                            FileSettings settings) {
  OutputFiles files;
  if (auto staged = files.stage(destination, bytes, settings); !staged) return staged;
  return files.commit();
}

Outcome writeStandardOutput(std::string_view text) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    return Failure::runtime(std::string("cannot write to standard output: ") +
                            std::strerror(errno ? errno : EIO));
  return Done{};
}

}  // namespace host
