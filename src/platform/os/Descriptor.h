// An owned POSIX file descriptor, closed when it goes (copy-free: one owner, one scope; release()
// hands the descriptor on), and what the host does to a descriptor it made.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>

namespace os {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// As root, a file or folder made in someone else's folder is given to that folder's owner, so
// that the app can still change its own files.
inline void ownLikeFolder(int fd, const std::string& folder) {
  struct stat dir {
  }, own{};
  if (::geteuid() != 0 || ::stat(folder.c_str(), &dir) != 0 || ::fstat(fd, &own) != 0) return;
  if (own.st_uid == dir.st_uid && own.st_gid == dir.st_gid) return;
  if (::fchown(fd, dir.st_uid, dir.st_gid) == 0) ::fchmod(fd, own.st_mode & 07777);
}

}  // namespace os
