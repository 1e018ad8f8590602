// The gallery's output folder (or a snapshot's, or a report's), made whole or not at all:
// everything is written into a staging folder beside it, which replaces the output folder only when
// the gallery is complete. An existing output folder is replaced only when it is empty or an
// earlier gallery (it holds the marker file); anything else is refused, so a mistyped -o cannot
// wipe a user's files. Names taken from data (languages, kinds) become path components only through
// safePathComponent, so none can leave the folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "host/core/Result.h"
#include "host/core/SafePathComponent.h"

namespace host {

// What a folder holds, for messages, and the file that marks one as replaceable.
struct FolderKind {
  const char* command;  // "gallery"
  const char* marker;   // ".tamsa-gallery"
  const char* what;     // "an earlier gallery"
};
inline constexpr FolderKind kGalleryFolder{"gallery", ".tamsa-gallery", "an earlier gallery"};

class GalleryFolder {
 public:
  // Checks the output folder can be made or replaced and makes the staging folder.
  static Result<GalleryFolder> prepare(const std::filesystem::path& output,
                                       const FolderKind& kind = kGalleryFolder);
  GalleryFolder(GalleryFolder&&) noexcept;
  GalleryFolder& operator=(GalleryFolder&&) = delete;
  ~GalleryFolder();  // removes the staging folder unless committed

  // Writes a file at `relative` (components made by safePathComponent) inside the staging folder.
  Outcome write(const std::filesystem::path& relative, std::string_view bytes);
  // Puts the staging folder in the output folder's place.
  Outcome commit();

 private:
  GalleryFolder(std::filesystem::path output, std::filesystem::path staging, const char* command)
      : output_(std::move(output)), staging_(std::move(staging)), command_(command) {}
  std::filesystem::path output_, staging_;
  const char* command_;
  bool committed_ = false;
};

}  // namespace host
