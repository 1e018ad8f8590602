// Tells when anything in a set of folders changes: files written, renamed over, made or removed.
// Uses the kernel's file-change notification (inotify), not polling, on a thread of its own.
// A folder is watched by its path, not by what it held at the start: a folder that does not exist
// yet is watched from when it appears (a container's Library/Preferences made by the first write
// of the store, or the container itself), and one moved away or deleted and made again is watched
// anew, the old one forgotten. The paths are looked at again after every change and every second,
// and a path that came to hold another folder counts as a change. Thread-safe: the callback runs
// on the watcher's thread; the destructor stops and joins it.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/core/Result.h"

namespace host {

class FolderWatcher {
 public:
  // Starts watching; a runtime failure when the system gives no notification handle.
  static Result<std::unique_ptr<FolderWatcher>> start(std::vector<std::string> folders,
                                                      std::function<void()> changed);
  ~FolderWatcher();
  FolderWatcher(const FolderWatcher&) = delete;
  FolderWatcher& operator=(const FolderWatcher&) = delete;

 private:
  struct Watched {
    std::string path;
    bool present = false;  // the path holds a folder
    int watch = -1;
    dev_t device = 0;
    ino_t inode = 0;
  };

  FolderWatcher(int inotify, int wake, std::vector<std::string> folders,
                std::function<void()> changed);
  // Makes the watches follow what each path holds now; whether any path holds another folder.
  bool followPaths();
  void run();

  int inotify_;
  int wake_;  // an eventfd that stops the thread
  std::vector<Watched> folders_;
  std::function<void()> changed_;
  std::thread thread_;
};

}  // namespace host
