#include "platform/os/OverlayFileSystem.h"

namespace os {

OverlayFileSystem::OverlayFileSystem(std::shared_ptr<const FileSystem> base, std::string root,
                                     MemoryFileSystem overlay)
    : base_(std::move(base)), root_(std::move(root)), overlay_(std::move(overlay)) {}

bool OverlayFileSystem::covers(const std::string& path) const {
  return path.rfind(root_, 0) == 0 && (path.size() == root_.size() || path[root_.size()] == '/');
}

FileKind OverlayFileSystem::kind(const std::string& path) const {
  return covers(path) ? overlay_.kind(path) : base_->kind(path);
}

std::optional<std::string> OverlayFileSystem::readFile(const std::string& path,
                                                       std::size_t maxBytes) const {
  return covers(path) ? overlay_.readFile(path, maxBytes) : base_->readFile(path, maxBytes);
}

std::vector<std::string> OverlayFileSystem::listDirectory(const std::string& path) const {
  return covers(path) ? overlay_.listDirectory(path) : base_->listDirectory(path);
}

}  // namespace os
