// The file system as the extension sees it: read-only, whole-file reads with a size cap.
// Implementations are thread-safe; the extension never writes.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace os {

enum class FileKind { missing, file, directory, other };

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual FileKind kind(const std::string& path) const = 0;
  // The whole content of a regular file; nothing when it is missing, unreadable, not a regular
  // file, or larger than maxBytes.
  virtual std::optional<std::string> readFile(const std::string& path,
                                              std::size_t maxBytes) const = 0;
  // Names of the entries of a directory (no "." or ".."), sorted; empty when it cannot be read.
  virtual std::vector<std::string> listDirectory(const std::string& path) const = 0;
};

// True when name can only mean one entry of a directory: not empty, no "/", "\\" or NUL, and
// not "." or "..". Names taken from data must pass this before they become part of a path.
bool isSingleFileName(std::string_view name);

// The machine's own file system.
std::shared_ptr<const FileSystem> posixFileSystem();

}  // namespace os
