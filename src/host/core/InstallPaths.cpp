#include "host/core/InstallPaths.h"

#include <filesystem>

namespace host {

InstallPaths InstallPaths::ofThisProgram() {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    fs::path share = exe.parent_path().parent_path() / "share" / "tamsa-widgets";
    if (fs::is_directory(share / "resources", ec))
      return {(share / "resources").string(), (share / "samples" / "container").string(),
              (share / "scenarios").string()};
  }
  return {TAMSA_RESOURCES_DIR, TAMSA_SAMPLE_CONTAINER, TAMSA_SCENARIOS_DIR};
}

}  // namespace host
