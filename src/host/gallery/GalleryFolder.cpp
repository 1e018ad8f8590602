#include "host/gallery/GalleryFolder.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "host/core/OutputFiles.h"

namespace host {
namespace {

namespace fs = std::filesystem;

Failure cannot(const char* command, const std::string& what, const fs::path& path, int error) {
  return Failure::runtime(std::string(command) + ": cannot " + what + " " + path.string() + ": " +
                          std::strerror(error));
}

}  // namespace

Result<GalleryFolder> GalleryFolder::prepare(const fs::path& output, const FolderKind& kind) {
  std::error_code ec;
  auto status = fs::symlink_status(output, ec);
  if (fs::exists(status)) {
    bool replaceable = fs::is_directory(status) &&
                       (fs::is_empty(output, ec) || fs::exists(output / kind.marker, ec));
    if (!replaceable)
      return Failure::usage(std::string(kind.command) + ": " + output.string() +
                            " exists and is not " + kind.what + "; name a new or empty folder");
  }
  fs::path parent = output.parent_path().empty() ? fs::path(".") : output.parent_path();
  std::string pattern = (parent / ("." + output.filename().string() + ".tmp-XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) return cannot(kind.command, "make a folder in", parent, errno);
  GalleryFolder folder(output, pattern, kind.command);
  if (auto r = folder.write(kind.marker, "Drawn by tamsa-widgets; replaced when drawn again.\n");
      !r)
    return r.failure();
  return folder;
}

GalleryFolder::GalleryFolder(GalleryFolder&& other) noexcept
    : output_(std::move(other.output_)),
      staging_(std::move(other.staging_)),
      command_(other.command_),
      committed_(other.committed_) {
  other.committed_ = true;  // the moved-from folder owns nothing
}

GalleryFolder::~GalleryFolder() {
  std::error_code ec;
  if (!committed_) fs::remove_all(staging_, ec);
}

Outcome GalleryFolder::write(const fs::path& relative, std::string_view bytes) {
  fs::path target = staging_ / relative;
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  if (ec) return cannot(command_, "make", target.parent_path(), ec.value());
  // Inside the staging folder a plain write will do: nobody sees it before the commit.
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) return cannot(command_, "write", target, errno ? errno : EIO);
  return Done{};
}

Outcome GalleryFolder::commit() {
  std::error_code ec;
  fs::path old;
  if (fs::exists(fs::symlink_status(output_, ec))) {
    std::string pattern = output_.string() + ".old-XXXXXX";
    if (!::mkdtemp(pattern.data())) return cannot(command_, "replace", output_, errno);
    old = pattern;
    if (::rename(output_.c_str(), old.c_str()) != 0) {
      int error = errno;
      fs::remove(old, ec);
      return cannot(command_, "replace", output_, error);
    }
  }
  if (::rename(staging_.c_str(), output_.c_str()) != 0) {
    int error = errno;
    if (!old.empty()) ::rename(old.c_str(), output_.c_str());
    return cannot(command_, "make", output_, error);
  }
  committed_ = true;
  if (!old.empty()) fs::remove_all(old, ec);
  return Done{};
}

}  // namespace host
