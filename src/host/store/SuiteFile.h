// The suite file of the app group's store, read and replaced the way the host app leaves it:
// "<container>/Library/Preferences/<suite>.plist", a binary property list.
//
// Readers follow symbolic links as the widget does (and say so); writers never write through one
// inside the container. Writers queue on an advisory lock (flock) on a file of their own beside
// the suite, held from before they read the suite until they have replaced it, so two writers at
// once keep both their edits; readers never take it and are never blocked. A write replaces the
// file whole (a synced temporary file renamed over it), keeps its owner and permissions, makes
// the folders it needs and refuses to leave a list its readers would not read. Temporaries that
// killed writers left behind are swept by the next writer.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "host/core/Messages.h"
#include "host/core/Result.h"
#include "platform/foundation/PropertyList.h"
#include "platform/os/WritableFileSystem.h"

namespace host {

struct SuiteFile {
  std::filesystem::path container;
  std::filesystem::path path;  // the plist itself

  static SuiteFile in(const std::filesystem::path& container);
  // The writers' lock file, beside the suite; named after it and this program, so that it is
  // no other app's file and no temporary.
  std::filesystem::path lockPath() const;
};

// What is found where the suite should be.
struct SuiteReading {
  enum class Found { noContainer, containerNotFolder, noSuite, suite };
  Found found = Found::noSuite;
  // The suite's values (empty when there is no suite); nothing when the file does not parse as a
  // dictionary (see `problem`).
  std::optional<foundation::PlistDictionary> values;
  std::string problem;
  // When rewriting the values would quietly change what the file holds (base64 text in an XML
  // suite that reads only in part, as the platform reads it): why. Empty otherwise.
  std::string lossOnRewrite;
  // The first symbolic link inside the container on the way to the suite (Library, Preferences
  // or the suite file), when the reading followed one.
  std::optional<std::filesystem::path> throughLink;
};

// Whether a reading follows symbolic links inside the container (as the widget does) or refuses
// a suite file that is one (as a writer must).
enum class Links { followed, refused };

// A runtime failure for a suite that is a folder or another special file, a symbolic link when
// links are refused, or that cannot be read; an empty file reads as an empty suite.
Result<SuiteReading> readSuite(const SuiteFile& suite, Links links);

// The writers' lock on a suite, held until the object goes.
class SuiteLock {
 public:
  SuiteLock(SuiteLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  SuiteLock& operator=(SuiteLock&&) = delete;
  ~SuiteLock();

 private:
  friend Result<SuiteLock> lockSuite(const SuiteFile& suite, const WarningSink& warn);
  explicit SuiteLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

// Makes the folders the suite needs (never through a symbolic link; as root, owned like the
// folder they are made in), takes the writers' lock, waiting for another writer after a warning
// that says so, then sweeps temporaries that writers killed on the way left behind: files of
// exactly the temporaries' name pattern, older than a minute and not locked by a live writer.
Result<SuiteLock> lockSuite(const SuiteFile& suite, const WarningSink& warn);

// Replaces the suite with the values, under the lock. An existing file keeps its owner, group and
// permissions (a failure, not a change of owner, when they cannot be kept); a new one is private
// (0600) and, as root, owned like its folder. A runtime failure, the old suite left as it was,
// when the list would be larger than the widget reads or would not read back, when the suite is
// not a plain file, or a folder or the file cannot be written.
Outcome writeSuite(os::WritableFileSystem& files, const SuiteFile& suite,
                   const foundation::PlistDictionary& values);

// Whether two suites are one: the same container, Preferences folder or suite file, by the
// files' identity (device and inode), so that a link, a bind mount or a hard link is seen through.
bool isSameSuite(const SuiteFile& a, const SuiteFile& b);

}  // namespace host
