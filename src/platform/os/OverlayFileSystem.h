// A file system with a folder of its own laid over another: every path under the overlay's root
// is answered from memory only, everything else by the file system beneath. The host uses it to
// hand the extension an app-group container that exists nowhere on disk.
#pragma once

#include <memory>
#include <string>

#include "platform/os/MemoryFileSystem.h"

namespace os {

class OverlayFileSystem final : public FileSystem {
 public:
  // `root` is an absolute path; `overlay` holds the files under it, by their full paths.
  OverlayFileSystem(std::shared_ptr<const FileSystem> base, std::string root,
                    MemoryFileSystem overlay);

  FileKind kind(const std::string& path) const override;
  std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) const override;
  std::vector<std::string> listDirectory(const std::string& path) const override;

 private:
  bool covers(const std::string& path) const;
  std::shared_ptr<const FileSystem> base_;
  std::string root_;
  MemoryFileSystem overlay_;
};

}  // namespace os
