#include "host/snapshot/SnapshotManifest.h"

#include "host/core/InputFiles.h"

#include <nlohmann/json.hpp>

#include "host/core/SafePathComponent.h"

namespace host {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using nlohmann::ordered_json;

constexpr std::uintmax_t kMaxManifestBytes = 16u << 20;

bool safeCellName(const std::string& name) {
  if (name.empty()) return false;
  std::size_t begin = 0;
  while (begin <= name.size()) {
    std::size_t end = name.find('/', begin);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(begin, end - begin);
    if (part.empty() || part == "." || part == ".." || safePathComponent(part) != part)
      return false;
    begin = end + 1;
  }
  return true;
}

}  // namespace

bool isMatrixOption(const std::string& name) {
  for (const char* known : {"scenario", "scenarios", "language", "os", "device", "scale", "locale",
                            "time-zone", "now", "hour-cycle", "resources", "container", "pseudo"})
    if (name == known) return true;
  return false;
}

std::string SnapshotManifest::toJson() const {
  ordered_json options = ordered_json::object();
  for (const auto& [name, word] : this->options) options[name] = word;
  ordered_json fontList = ordered_json::array();
  for (const auto& f : fonts) fontList.push_back(f.toJson());
  ordered_json j = {{"program", program},
                    {"scale", scale},
                    {"device", device},
                    {"options", options},
                    {"pixelThreshold", {{"level", threshold.level}, {"pixels", threshold.pixels}}},
                    {"fonts", fontList},
                    {"cells", cells}};
  return j.dump(1) + "\n";
}

Result<SnapshotManifest> SnapshotManifest::read(const fs::path& folder) {
  const fs::path path = folder / kManifestFile;
  auto fail = [&](const std::string& why) {
    return Failure::runtime("snapshot: " + path.string() + " " + why);
  };
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(path, ec)))
    return fail("is missing: record the snapshots first (snapshot record DIR)");
  auto text = readPlainFile(path, kMaxManifestBytes);
  if (!text) return fail("is too large or unreadable");
  json j = json::parse(*text, nullptr, false);
  if (j.is_discarded() || !j.is_object()) return fail("is not JSON");
  SnapshotManifest m;
  try {
    m.program = j.at("program").get<std::string>();
    m.scale = j.at("scale").get<double>();
    m.device = j.at("device").get<std::string>();
    for (const auto& [name, word] : j.at("options").items()) {
      if (!isMatrixOption(name)) return fail("names an option snapshots do not take: " + name);
      m.options.emplace_back(name, word.get<std::string>());
    }
    const json& t = j.at("pixelThreshold");
    m.threshold.level = t.at("level").get<int>();
    m.threshold.pixels = t.at("pixels").get<std::size_t>();
    if (m.threshold.level < 0 || m.threshold.level > 255)
      return fail("has a pixel threshold level outside 0 to 255");
    for (const auto& f : j.at("fonts")) {
      auto font = FontFile::fromJson(f);
      if (!font) return fail("has a malformed font entry");
      m.fonts.push_back(std::move(*font));
    }
    for (const auto& c : j.at("cells")) {
      std::string name = c.get<std::string>();
      if (!safeCellName(name)) return fail("names a cell outside its folder: " + name);
      m.cells.push_back(std::move(name));
    }
  } catch (const json::exception& e) {
    return fail(std::string("is not a snapshot manifest (") + e.what() + ")");
  }
  return m;
}

}  // namespace host
