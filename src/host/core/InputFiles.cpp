#include "host/core/InputFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace host {

std::optional<std::string> readPlainFile(const std::filesystem::path& path, std::size_t maxBytes) {
  // Opened first and checked after, so the file checked is the file read.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::optional<std::string> out;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
      static_cast<std::uintmax_t>(st.st_size) <= maxBytes) {
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
      ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    if (got == bytes.size()) out = std::move(bytes);
  }
  ::close(fd);
  return out;
}

}  // namespace host
