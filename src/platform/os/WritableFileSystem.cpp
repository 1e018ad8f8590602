#include "platform/os/WritableFileSystem.h"

#include <filesystem>

namespace os {

std::string folderOf(const std::string& path) {
  std::string parent = std::filesystem::path(path).parent_path().string();
  return parent.empty() ? "." : parent;
}

base::Outcome writeWhole(WritableFileSystem& files, const std::string& path,
                         const std::string& pattern, std::string_view bytes,
                         const WriteSettings& settings) {
  auto temporary = files.makeTemporaryFile(path, pattern, bytes, settings);
  if (!temporary) return temporary.failure();
  if (auto renamed = files.rename(*temporary, path, settings.durability); !renamed) {
    (void)files.remove(*temporary);
    return renamed;
  }
  return base::Done{};
}

}  // namespace os
