// An in-memory WritableFileSystem for tests: a MemoryFileSystem that can also be written, with
// symbolic links that lead nowhere and faults made to order (a full disk in a folder, a rename
// onto a path that fails), so that what a write leaves behind when it fails can be checked.
// Temporaries are named predictably: the pattern's X's become the lowest free number, 000000 up.
// Thread-safe.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "platform/os/MemoryFileSystem.h"
#include "platform/os/WritableFileSystem.h"

namespace os {

class MemoryWritableFileSystem final : public WritableFileSystem {
 public:
  void addFile(const std::string& path, std::string content);
  void addDirectory(const std::string& path);
  void addSymbolicLink(const std::string& path);

  enum class Fault {
    diskFull,     // the next file or folder made in the folder at `path` fails
    renameFails,  // the next rename onto `path` fails
  };
  void inject(Fault fault, const std::string& path);
  // Every path that holds something, folders with a trailing "/", sorted.
  std::vector<std::string> everything() const;

  FileKind kind(const std::string& path) const override;
  std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) const override;
  std::vector<std::string> listDirectory(const std::string& path) const override;
  bool isSymbolicLink(const std::string& path) const override;
  base::Result<std::string> readPlainFile(const std::string& path,
                                          std::size_t maxBytes) const override;
  base::Result<std::string> makeTemporaryFile(const std::string& destination,
                                              const std::string& pattern, std::string_view bytes,
                                              const WriteSettings& settings) override;
  base::Outcome writeFile(const std::string& path, std::string_view bytes,
                          const WriteSettings& settings) override;
  base::Result<std::string> makeTemporaryFolder(const std::string& folder,
                                                const std::string& pattern) override;
  base::Outcome makeFolders(const std::string& path) override;
  base::Outcome rename(const std::string& from, const std::string& to,
                       Durability durability) override;
  base::Outcome remove(const std::string& path) override;
  base::Outcome removeTree(const std::string& path) override;
  base::Outcome giveFolderMode(const std::string& path, const std::string& like) override;
  base::Result<std::unique_ptr<FolderLock>> lockFolder(const std::string& path,
                                                       LockWait wait) override;

 private:
  class Lock;
  FileKind kindLocked(const std::string& path) const;
  std::string uniqueName(const std::string& folder, std::string pattern);

  mutable std::mutex mutex_;
  MemoryFileSystem files_;
  std::set<std::string> links_, fullFolders_, failingRenames_;
  std::map<unsigned, std::string> locks_;  // by lock, the folder it is on now ("" once gone)
  unsigned lockCount_ = 0;
};

}  // namespace os
