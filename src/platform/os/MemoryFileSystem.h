// An in-memory FileSystem for tests: files and directories held in a map. Not thread-safe while
// it is being filled; read-only use afterwards is.
#pragma once

#include <map>
#include <string>

#include "platform/os/FileSystem.h"

namespace os {

class MemoryFileSystem final : public FileSystem {
 public:
  // Adds a file and every directory above it.
  void addFile(const std::string& path, std::string content);
  void addDirectory(const std::string& path);
  // Removes a file, or a directory and all below it.
  void remove(const std::string& path);
  // Moves a file, or a directory and all below it, to another path (what was there goes).
  void move(const std::string& from, const std::string& to);

  FileKind kind(const std::string& path) const override;
  std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) const override;
  std::vector<std::string> listDirectory(const std::string& path) const override;

 private:
  std::map<std::string, std::string> files_;
  std::map<std::string, bool> directories_;
};

}  // namespace os
