// An owned POSIX file descriptor, closed when it goes. Move-free and copy-free: one owner, one
// scope; release() hands the descriptor on.
#pragma once

#include <unistd.h>

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

}  // namespace os
