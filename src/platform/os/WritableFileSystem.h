// The file system as the host writes it. The extension only ever sees the read-only FileSystem;
// this one is the host's own, for the files a command leaves behind. Every operation answers with
// the reason when it fails; nothing is written through a path that names a symbolic link where
// the operation says so. Implementations are thread-safe.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>

#include "base/Result.h"
#include "platform/os/FileSystem.h"

namespace os {

// Whether a file reaches the disk before it replaces the old one: pictures can wait for the system
// to flush them; a store the user keeps must survive a power cut as the old file or the new one.
enum class Durability { whenTheSystemFlushes, syncedBeforeRename };

// Who owns a new file: the process, or (for a file the user's app keeps) whoever owned the file it
// replaces, else, as root, the owner of the folder it is made in. With `asReplaced` the mode of the
// replaced file is kept too, and `mode` is only a new file's.
enum class Ownership { process, asReplaced };

struct WriteSettings {
  mode_t mode = 0644;
  Durability durability = Durability::whenTheSystemFlushes;
  Ownership ownership = Ownership::process;
};

class WritableFileSystem : public FileSystem {
 public:
  // True when the path itself is a symbolic link (whatever it points at, if anything).
  virtual bool isSymbolicLink(const std::string& path) const = 0;
  // The whole of a regular file that is not a symbolic link, up to maxBytes; why not otherwise.
  virtual base::Result<std::string> readPlainFile(const std::string& path,
                                                  std::size_t maxBytes) const = 0;

  // Makes a new file beside `destination` named by `pattern`, whose last six characters (XXXXXX)
  // are made unique, holding bytes with the settings (synced when durable), ready to be renamed
  // over the destination. Returns its path; nothing is left behind when it fails. The folder is
  // never made.
  virtual base::Result<std::string> makeTemporaryFile(const std::string& destination,
                                                      const std::string& pattern,
                                                      std::string_view bytes,
                                                      const WriteSettings& settings) = 0;
  // Writes `bytes` into the file at `path` in place, made or emptied first, never through a
  // symbolic link: for a folder no one else reads until it is complete (a staging folder), where
  // a temporary and a rename per file would only cost time. The folder is never made.
  virtual base::Outcome writeFile(const std::string& path, std::string_view bytes,
                                  const WriteSettings& settings) = 0;
  // Makes a new private folder in `folder` named as makeTemporaryFile names files.
  virtual base::Result<std::string> makeTemporaryFolder(const std::string& folder,
                                                        const std::string& pattern) = 0;
  // Makes the folder and those above it that are missing.
  virtual base::Outcome makeFolders(const std::string& path) = 0;
  // Puts `from` in the place of `to` in one step (a file over a file, a folder over an empty one
  // or none); durable before it returns when asked.
  virtual base::Outcome rename(const std::string& from, const std::string& to,
                               Durability durability = Durability::whenTheSystemFlushes) = 0;
  // Removes a file or a symbolic link (never what it points at), or an empty folder; done when
  // there was nothing.
  virtual base::Outcome remove(const std::string& path) = 0;
  // Removes a folder and all it holds, never following a symbolic link; done when there was none.
  virtual base::Outcome removeTree(const std::string& path) = 0;
  // Gives the folder at `path` the permissions of the folder `like` when there is one, else those
  // a new folder gets (the process's umask applied).
  virtual base::Outcome giveFolderMode(const std::string& path, const std::string& like) = 0;

  // An exclusive advisory lock on a folder, held until the object goes; it stays with the folder
  // it was taken on wherever the folder is moved, and goes with the process.
  class FolderLock {
   public:
    virtual ~FolderLock() = default;
    // True while `path` names the locked folder itself (not a link to it, not another folder).
    virtual bool isAt(const std::string& path) const = 0;
  };
  enum class LockWait { untilFree, never };
  // Locks a folder, never through a symbolic link: waiting for another holder, or failing at once.
  virtual base::Result<std::unique_ptr<FolderLock>> lockFolder(const std::string& path,
                                                               LockWait wait) = 0;
};

// Writes a file whole or not at all: a temporary beside it named by `pattern`, renamed over it.
// The folder is never made.
base::Outcome writeWhole(WritableFileSystem& files, const std::string& path,
                         const std::string& pattern, std::string_view bytes,
                         const WriteSettings& settings = {});

// The folder a path is in: "." for a bare name.
std::string folderOf(const std::string& path);

// The machine's own file system, as the host writes it.
std::shared_ptr<WritableFileSystem> posixWritableFileSystem();

}  // namespace os
