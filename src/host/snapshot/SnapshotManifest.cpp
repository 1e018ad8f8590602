#include "host/snapshot/SnapshotManifest.h"

#include "host/core/InputFiles.h"

#include <nlohmann/json.hpp>
#include <optional>

#include "host/core/CommandLine.h"
#include "host/core/SafePathComponent.h"

namespace host {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using nlohmann::ordered_json;

constexpr std::uintmax_t kMaxManifestBytes = 16u << 20;

// The most pixels a threshold may forgive: more than any picture we draw has (a picture decodes to
// at most 2^26), so no count wraps or stands for "anything".
constexpr std::uint64_t kMaxThresholdPixels = std::uint64_t{1} << 26;

// A JSON integer from 0 to `most`; nothing for a negative, larger or fractional number (converting
// those would wrap or be undefined) or anything else.
std::optional<std::uint64_t> wholeNumber(const json& value, std::uint64_t most) {
  if (value.is_number_unsigned()) {
    auto n = value.get<std::uint64_t>();
    if (n <= most) return n;
  }
  return std::nullopt;
}

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

Result<SnapshotManifest> SnapshotManifest::read(const os::WritableFileSystem& files,
                                                const fs::path& folder) {
  const fs::path path = folder / kManifestFile;
  auto fail = [&](const std::string& why) {
    return Failure::runtime("snapshot: " + path.string() + " " + why);
  };
  if (files.isSymbolicLink(path.string()) || files.kind(path.string()) != os::FileKind::file)
    return fail("is missing: record the snapshots first (snapshot record DIR)");
  auto text = readPlainFile(files, path, kMaxManifestBytes);
  if (!text) return fail("is too large or unreadable");
  json j = json::parse(*text, nullptr, false);
  if (j.is_discarded() || !j.is_object()) return fail("is not JSON");
  SnapshotManifest m;
  try {
    m.program = j.at("program").get<std::string>();
    m.scale = j.at("scale").get<double>();
    m.device = j.at("device").get<std::string>();
    for (const auto& [name, word] : j.at("options").items())
      m.options.emplace_back(name, word.get<std::string>());
    if (auto words = matrixWordsFromList(m.options); !words)
      return fail("names an option snapshots do not take: " + words.failure().message);
    const json& t = j.at("pixelThreshold");
    auto level = wholeNumber(t.at("level"), 255);
    auto pixels = wholeNumber(t.at("pixels"), kMaxThresholdPixels);
    if (!level)
      return fail("has pixelThreshold.level " + t.at("level").dump() +
                  ": it must be a whole number from 0 to 255");
    if (!pixels)
      return fail("has pixelThreshold.pixels " + t.at("pixels").dump() +
                  ": it must be a whole number from 0 to " + std::to_string(kMaxThresholdPixels));
    m.threshold =
        drawing::PixelThreshold{static_cast<int>(*level), static_cast<std::size_t>(*pixels)};
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
