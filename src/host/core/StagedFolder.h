// An output folder made whole or not at all (the gallery's, a snapshot's, or a report's):
// everything is written into a staging folder beside it, which replaces the output folder only when
// the gallery is complete. An existing output folder is replaced only when it is empty or an
// earlier gallery (it holds the marker file); anything else is refused, so a mistyped -o cannot
// wipe a user's files. Names taken from data (languages, kinds) become path components only through
// safePathComponent, so none can leave the folder.
//
// No staging folder outlives its run: it goes when the folder object goes uncommitted, and when
// the process is interrupted (SIGINT, SIGTERM; see InterruptWatch.h). What a killed or crashed run
// left behind is swept by the next one writing the same output. A live run holds a lock on its
// staging folder, so no other run sweeps it. write() is thread-safe; the rest is for the thread
// that prepared the folder.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string_view>

#include "host/core/Result.h"
#include "host/core/SafePathComponent.h"
#include "platform/os/WritableFileSystem.h"

namespace host {

// What a folder holds, for messages, and the file that marks one as replaceable.
struct FolderKind {
  const char* command;  // "gallery"
  const char* marker;   // ".tamsa-gallery"
  const char* what;     // "an earlier gallery"
};
inline constexpr FolderKind kStagedFolder{"gallery", ".tamsa-gallery", "an earlier gallery"};

class StagedFolder {
 public:
  // Checks the output folder can be made or replaced, sweeps the staging folders earlier runs
  // left beside it, and makes the staging folder.
  static Result<StagedFolder> prepare(std::shared_ptr<os::WritableFileSystem> files,
                                      const std::filesystem::path& output,
                                      const FolderKind& kind = kStagedFolder);
  StagedFolder(StagedFolder&&) noexcept;
  StagedFolder& operator=(StagedFolder&&) = delete;
  ~StagedFolder();  // removes the staging folder unless committed

  // Writes a file at `relative` (components made by safePathComponent) inside the staging folder.
  Outcome write(const std::filesystem::path& relative, std::string_view bytes);
  // Puts the staging folder in the output folder's place.
  Outcome commit();

 private:
  struct Staging;
  explicit StagedFolder(std::unique_ptr<Staging> staging);
  std::unique_ptr<Staging> staging_;
};

// Removes the staging folders that runs which were killed or crashed left beside `output`: only
// folders (never symbolic links) named exactly as a staging folder of `output` is, holding the
// kind's marker, and locked by no live run. Returns how many were removed.
std::size_t sweepStaleStaging(os::WritableFileSystem& files, const std::filesystem::path& output,
                              const FolderKind& kind);

}  // namespace host
