#include "host/snapshot/SnapshotCells.h"

#include "host/core/OutputFiles.h"

namespace host {

namespace fs = std::filesystem;

bool staysInside(const os::WritableFileSystem& files, const fs::path& folder,
                 const std::string& name) {
  fs::path at = folder;
  for (const auto& part : fs::path(name).parent_path()) {
    at /= part;
    if (files.isSymbolicLink(at.string())) return false;
  }
  return true;
}

Outcome writeCell(os::WritableFileSystem& files, const fs::path& folder, const std::string& name,
                  std::string_view png, std::string_view report) {
  if (!staysInside(files, folder, name))
    return Failure::runtime("snapshot verify --update: " + (folder / name).string() +
                            " passes through a symbolic link; not written");
  const fs::path picture = folder / (name + ".png");
  if (auto made = files.makeFolders(picture.parent_path().string()); !made)
    return Failure::runtime("snapshot: " + made.failure().message);
  if (auto r = writeFileAtomically(files, picture, png); !r) return r;
  return writeFileAtomically(files, folder / (name + ".json"), report);
}

std::string removeCell(os::WritableFileSystem& files, const fs::path& folder,
                       const std::string& name) {
  if (!staysInside(files, folder, name)) return "through a symbolic link";
  for (const char* extension : {".png", ".json"})
    if (auto removed = files.remove((folder / (name + extension)).string()); !removed)
      return removed.failure().message;
  return "";
}

}  // namespace host
