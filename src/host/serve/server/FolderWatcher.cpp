#include "host/serve/server/FolderWatcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
    : inotify_(inotify), wake_(wake), changed_(std::move(changed)) {
  for (auto& f : folders) folders_.push_back({std::move(f)});
  followPaths();
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

bool FolderWatcher::followPaths() {
  bool moved = false;
  for (auto& f : folders_) {
    struct stat now {};
    const bool there = stat(f.path.c_str(), &now) == 0 && S_ISDIR(now.st_mode);
    if (there == f.present && (!there || (now.st_dev == f.device && now.st_ino == f.inode)))
      continue;
    moved = true;
    const int old = f.watch;
    f.watch = there ? inotify_add_watch(inotify_, f.path.c_str(), kEvents | IN_ONLYDIR) : -1;
    f.present = there;
    f.device = now.st_dev;
    f.inode = now.st_ino;
    // The folder the path held before may be elsewhere now: its changes no longer count.
    const bool shared = std::any_of(folders_.begin(), folders_.end(),
                                    [&](const Watched& w) { return w.watch == old; });
    if (old >= 0 && !shared) inotify_rm_watch(inotify_, old);
  }
  return moved;
}

void FolderWatcher::run() {
  alignas(inotify_event) char buffer[16 * 1024];
  pollfd fds[2] = {{inotify_, POLLIN, 0}, {wake_, POLLIN, 0}};
  for (;;) {
    int n = poll(fds, 2, 1000);
    if (n < 0 && errno != EINTR) return;
    if (fds[1].revents & POLLIN) return;
    bool any = false;
    if (n > 0 && (fds[0].revents & POLLIN))
      while (read(inotify_, buffer, sizeof buffer) > 0) any = true;
    if (followPaths() || any) changed_();
  }
}

}  // namespace host
