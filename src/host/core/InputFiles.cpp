#include "host/core/InputFiles.h"

namespace host {

Result<std::string> readPlainFile(const os::WritableFileSystem& files,
                                  const std::filesystem::path& path, std::size_t maxBytes) {
  return files.readPlainFile(path.string(), maxBytes);
}

}  // namespace host
