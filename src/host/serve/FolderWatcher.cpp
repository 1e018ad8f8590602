#include "host/serve/FolderWatcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace host {
namespace {

constexpr std::uint32_t kEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE |
                                  IN_DELETE | IN_MODIFY | IN_DELETE_SELF | IN_MOVE_SELF;

}  // namespace

Result<std::unique_ptr<FolderWatcher>> FolderWatcher::start(std::vector<std::string> folders,
                                                            std::function<void()> changed) {
  int inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (inotify < 0)
    return Failure::runtime(std::string("cannot watch for file changes: ") + std::strerror(errno));
  int wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wake < 0) {
    close(inotify);
    return Failure::runtime(std::string("cannot watch for file changes: ") + std::strerror(errno));
  }
  return std::unique_ptr<FolderWatcher>(
      new FolderWatcher(inotify, wake, std::move(folders), std::move(changed)));
}

FolderWatcher::FolderWatcher(int inotify, int wake, std::vector<std::string> folders,
                             std::function<void()> changed)
    : inotify_(inotify), wake_(wake), folders_(std::move(folders)), changed_(std::move(changed)) {
  watchFolders();
  thread_ = std::thread([this] { run(); });
}

FolderWatcher::~FolderWatcher() {
  std::uint64_t one = 1;
  if (write(wake_, &one, sizeof one) < 0) {
    // The thread still ends: it polls with a timeout.
  }
  thread_.join();
  close(inotify_);
  close(wake_);
}

// Adding a watch again is harmless (the kernel hands back the same one), so every change
// re-adds them all and picks up folders made since.
void FolderWatcher::watchFolders() {
  for (const auto& f : folders_) inotify_add_watch(inotify_, f.c_str(), kEvents | IN_ONLYDIR);
}

void FolderWatcher::run() {
  alignas(inotify_event) char buffer[16 * 1024];
  pollfd fds[2] = {{inotify_, POLLIN, 0}, {wake_, POLLIN, 0}};
  for (;;) {
    int n = poll(fds, 2, 1000);
    if (n < 0 && errno != EINTR) return;
    if (fds[1].revents & POLLIN) return;
    if (n <= 0 || !(fds[0].revents & POLLIN)) continue;
    bool any = false;
    while (read(inotify_, buffer, sizeof buffer) > 0) any = true;
    if (!any) continue;
    watchFolders();
    changed_();
  }
}

}  // namespace host
