#include "host/core/InstallPaths.h"

#include <filesystem>

namespace host {
namespace {

constexpr const char* kServeModule = "tamsa-widgets-serve.so";

}  // namespace

InstallPaths InstallPaths::ofThisProgram() {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path prefix = exe.parent_path().parent_path();
    fs::path share = prefix / "share" / "tamsa-widgets";
    if (fs::is_directory(share / "resources", ec))
      return {(share / "resources").string(), (share / "samples" / "container").string(),
              (share / "scenarios").string(),
              (prefix / "lib" / "tamsa-widgets" / kServeModule).string()};
  }
  return {TAMSA_RESOURCES_DIR, TAMSA_SAMPLE_CONTAINER, TAMSA_SCENARIOS_DIR,
          (exe.parent_path() / kServeModule).string()};
}

}  // namespace host
