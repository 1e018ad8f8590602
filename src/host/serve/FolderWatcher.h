// Tells when anything in a set of folders changes: files written, renamed over, made or removed.
// Uses the kernel's file-change notification (inotify), not polling, on a thread of its own.
// Folders that do not exist yet are watched from the moment a change elsewhere in the set shows
// them (a container's Library/Preferences made by the first write of the store). Thread-safe:
// the callback runs on the watcher's thread; the destructor stops and joins it.
#pragma once

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
  FolderWatcher(int inotify, int wake, std::vector<std::string> folders,
                std::function<void()> changed);
  void watchFolders();
  void run();

  int inotify_;
  int wake_;  // an eventfd that stops the thread
  std::vector<std::string> folders_;
  std::function<void()> changed_;
  std::thread thread_;
};

}  // namespace host
