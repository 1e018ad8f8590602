// FileSystem over POSIX calls. Reads through one descriptor so that a file replaced while it is
// read gives either the old or the new content, and never reads past maxBytes.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/os/FileSystem.h"

namespace os {
namespace {

class PosixFileSystem final : public FileSystem {
 public:
  FileKind kind(const std::string& path) const override {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return FileKind::missing;
    if (S_ISREG(st.st_mode)) return FileKind::file;
    if (S_ISDIR(st.st_mode)) return FileKind::directory;
    return FileKind::other;
  }

  std::optional<std::string> readFile(const std::string& path,
                                      std::size_t maxBytes) const override {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> result;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<std::size_t>(st.st_size) <= maxBytes) {
      std::string data;
      data.resize(static_cast<std::size_t>(st.st_size));
      std::size_t filled = 0;
      bool failed = false;
      // The file may grow while it is read: read one byte past the cap to notice.
      char probe;
      for (;;) {
        char* dst = filled < data.size() ? data.data() + filled : &probe;
        std::size_t room = filled < data.size() ? data.size() - filled : 1;
        ssize_t n = ::read(fd, dst, room);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
          failed = true;
          break;
        }
        if (n == 0) break;
        if (filled >= data.size()) {
          // Grew since fstat: take the rest if it stays within the cap.
          data.push_back(probe);
          if (data.size() > maxBytes) {
            failed = true;
            break;
          }
          filled = data.size();
          continue;
        }
        filled += static_cast<std::size_t>(n);
      }
      if (!failed) {
        data.resize(filled);
        result = std::move(data);
      }
    }
    ::close(fd);
    return result;
  }

  std::vector<std::string> listDirectory(const std::string& path) const override {
    std::vector<std::string> names;
    DIR* dir = ::opendir(path.c_str());
    if (!dir) return names;
    while (dirent* e = ::readdir(dir)) {
      std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(std::move(name));
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
  }
};

}  // namespace

std::shared_ptr<const FileSystem> posixFileSystem() {
  static const auto fs = std::make_shared<const PosixFileSystem>();
  return fs;
}

}  // namespace os
