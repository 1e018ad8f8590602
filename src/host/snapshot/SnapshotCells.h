// A snapshot folder's cells on disk: <name>.png and its layout report <name>.json, written and
// removed by verify --update only where no folder on the way is a symbolic link, so that a doctored
// folder cannot lead them outside.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "host/core/Result.h"
#include "platform/os/WritableFileSystem.h"

namespace host {

// True when no folder between `folder` and the cell's files is a symbolic link.
bool staysInside(const os::WritableFileSystem& files, const std::filesystem::path& folder,
                 const std::string& name);

// Writes a cell's picture and report, each whole, making the folders it needs.
Outcome writeCell(os::WritableFileSystem& files, const std::filesystem::path& folder,
                  const std::string& name, std::string_view png, std::string_view report);

// Removes a cell's files; empty when done (or there were none), else why not.
std::string removeCell(os::WritableFileSystem& files, const std::filesystem::path& folder,
                       const std::string& name);

}  // namespace host
