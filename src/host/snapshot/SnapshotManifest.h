// A snapshot folder's manifest.json: how its cells were drawn (program version, scale, device, the
// matrix options as given), the pixel threshold verify applies (the user may edit it), the font
// files used, and the cells' names. Every cell is <name>.png with its layout report <name>.json.
// Read from disk, it is checked before use: a cell name that is not made of safe path components
// is refused, so no name can lead verify --update to a file outside the folder.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "drawing/PixelComparison.h"
#include "host/core/Result.h"
#include "host/snapshot/FontCensus.h"
#include "platform/os/WritableFileSystem.h"

namespace host {

struct SnapshotManifest {
  std::string program;  // "tamsa-widgets 0.9.0"
  double scale = 2;
  std::string device;
  std::vector<std::pair<std::string, std::string>> options;  // "scenario" -> "all", as typed
  drawing::PixelThreshold threshold;
  std::vector<FontFile> fonts;
  std::vector<std::string> cells;  // "signed-out/de/TamsaWidget-small-light", in drawing order

  std::string toJson() const;
  static Result<SnapshotManifest> read(const os::WritableFileSystem& files,
                                       const std::filesystem::path& folder);
};

inline constexpr const char* kManifestFile = "manifest.json";

}  // namespace host
