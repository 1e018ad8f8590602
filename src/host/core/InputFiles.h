// Reading a file the host did not write (a shard's pictures, a recorded snapshot): only a plain
// file, not through a symbolic link, and only up to a size, so a doctored folder can neither lead
// the reader elsewhere nor make it allocate without bound.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "host/core/HostOptions.h"
#include "host/core/Result.h"
#include "platform/os/WritableFileSystem.h"

namespace host {

// The whole file; why not when it is missing, a symbolic link, not a regular file, larger than
// maxBytes, or cannot be read.
Result<std::string> readPlainFile(const os::WritableFileSystem& files,
                                  const std::filesystem::path& path, std::size_t maxBytes);

// The home screen the look options describe, its wallpaper read (a PNG of at most 64 MB and
// 32 million pixels) and blurred; why not when the wallpaper cannot be read or is no such PNG.
Result<HomeScreen> loadHomeScreen(const os::WritableFileSystem& files, const LookOptions& look);

}  // namespace host
