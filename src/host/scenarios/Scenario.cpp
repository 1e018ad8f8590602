#include "host/scenarios/Scenario.h"

#include <algorithm>
#include <sstream>

#include "host/core/CommandLine.h"
#include "host/core/PlistJson.h"
#include "host/core/SafePathComponent.h"
#include "platform/foundation/PropertyList.h"
#include "platform/os/OverlayFileSystem.h"
#include "shared/AppConfiguration.h"

namespace host {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxScenarioBytes = 1 << 20;
// Where a scenario's container seems to lie; the overlay answers every path under it.
constexpr const char* kContainerRoot = "/.tamsa-scenario";

std::vector<std::string> namesIn(const os::FileSystem& files, const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : files.listDirectory(folder.string())) {
    const fs::path path = folder / entry;
    if (path.extension() != ".json" || files.kind(path.string()) != os::FileKind::file) continue;
    std::string name = path.stem().string();
    // Only names that can stand as a folder of the gallery as they are.
    if (safePathComponent(name) == name) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

Result<DeviceSettingWords> settingWords(const nlohmann::json& device, const std::string& file) {
  DeviceSettingWords words;
  if (device.is_null()) return words;
  if (!device.is_object()) return Failure::runtime(file + ": \"device\" must be an object");
  const std::pair<const char*, std::optional<std::string>*> fields[] = {
      {"now", &words.now},
      {"time-zone", &words.timeZone},
      {"locale", &words.locale},
      {"hour-cycle", &words.hourCycle},
      {"os", &words.os}};
  for (const auto& [key, value] : device.items()) {
    auto field = std::find_if(std::begin(fields), std::end(fields),
                              [&](const auto& f) { return key == f.first; });
    if (field == std::end(fields))
      return Failure::runtime(file + ": \"device\" has no setting \"" + key +
                              "\" (settings: now, time-zone, locale, hour-cycle, os)");
    if (!value.is_string()) return Failure::runtime(file + ": device." + key + " must be a string");
    *field->second = value.get<std::string>();
  }
  return words;
}

Result<std::string> suiteBytes(const nlohmann::json& store, const std::string& file) {
  if (!store.is_object())
    return Failure::runtime(file + ": \"store\" must be an object of the suite's values, or null");
  foundation::PlistDictionary values;
  for (const auto& [key, value] : store.items()) {
    auto plist = plistFromJson(value, key);
    if (!plist) return Failure::runtime(file + ": " + plist.failure().message);
    values.emplace(key, std::move(*plist));
  }
  auto bytes = foundation::writeBinaryPropertyList(foundation::PlistValue{std::move(values)});
  if (!bytes) return Failure::runtime(file + ": the store cannot be written as a property list");
  return std::move(*bytes);
}

Result<Scenario> loadScenario(const os::FileSystem& files, const fs::path& folder,
                              const std::string& name) {
  fs::path path = folder / (name + ".json");
  std::string file = path.string();
  auto text = files.readFile(file, kMaxScenarioBytes);
  if (!text) return Failure::runtime("cannot read " + file + " (or it is larger than 1 MB)");
  auto json = parseJson(*text, file);
  if (!json) return Failure::runtime(json.failure().message);
  if (!json->is_object()) return Failure::runtime(file + ": a scenario is a JSON object");
  for (const auto& [key, _] : json->items())
    if (key != "description" && key != "store" && key != "device")
      return Failure::runtime(file + ": unknown field \"" + key +
                              "\" (fields: description, store, device)");
  if (!json->contains("description") || !(*json)["description"].is_string())
    return Failure::runtime(file + ": \"description\" must be a string");
  if (!json->contains("store"))
    return Failure::runtime(file + ": \"store\" is missing (null for no container at all)");

  Scenario s;
  s.name = name;
  s.description = (*json)["description"].get<std::string>();
  if (!(*json)["store"].is_null()) {
    auto bytes = suiteBytes((*json)["store"], file);
    if (!bytes) return bytes.failure();
    s.suite = std::move(*bytes);
  }
  auto words = settingWords(json->value("device", nlohmann::json()), file);
  if (!words) return words.failure();
  s.settings.now = foundation::parseIso8601("2026-03-14T09:41:00Z");
  s.settings.timeZone = "UTC";
  s.settings.locale = "en_US";
  if (auto r = readDeviceSettings(*words, "device.", s.settings); !r)
    return Failure::runtime(file + ": " + r.failure().message);
  return s;
}

}  // namespace

Result<std::vector<Scenario>> loadScenarios(const os::FileSystem& files, const fs::path& folder,
                                            const std::vector<std::string>& asked) {
  if (files.kind(folder.string()) != os::FileKind::directory)
    return Failure::usage("--scenarios: '" + folder.string() + "' is not a folder");
  std::vector<std::string> known = namesIn(files, folder);
  std::vector<std::string> names;
  for (const auto& name : asked) {
    if (name == "all") {
      names.insert(names.end(), known.begin(), known.end());
      continue;
    }
    if (std::find(known.begin(), known.end(), name) == known.end()) {
      std::string list;
      for (const auto& k : known) list += (list.empty() ? "" : ", ") + k;
      return Failure::usage("--scenario: no scenario '" + name + "' in " + folder.string() +
                            " (scenarios: " + (list.empty() ? "none" : list) + ")");
    }
    names.push_back(name);
  }
  std::vector<Scenario> out;
  for (const auto& name : names) {
    if (std::any_of(out.begin(), out.end(), [&](const Scenario& s) { return s.name == name; }))
      continue;
    auto s = loadScenario(files, folder, name);
    if (!s) return s.failure();
    out.push_back(std::move(*s));
  }
  return out;
}

device::Device scenarioDevice(const device::Device& base, const Scenario& scenario,
                              const DeviceOptions& given) {
  device::Device d = base;
  os::MemoryFileSystem overlay;
  std::string container = std::string(kContainerRoot) + "/" + scenario.name;
  // Without a suite the path names nothing, as when the system has no container to give.
  if (scenario.suite)
    overlay.addFile(
        container + "/Library/Preferences/" + std::string(tamsa::appGroupIdentifier) + ".plist",
        *scenario.suite);
  d.appGroupContainer = container;
  d.fileSystem =
      std::make_shared<os::OverlayFileSystem>(base.fileSystem, kContainerRoot, std::move(overlay));
  const DeviceOptions& s = scenario.settings;
  d.clock = std::make_shared<foundation::FixedClock>(given.now ? *given.now : *s.now);
  d.localeIdentifier = given.locale.value_or(*s.locale);
  d.timeZoneIdentifier = given.timeZone.value_or(*s.timeZone);
  d.hourCycle = given.hourCycle != device::HourCycle::localeDefault ? given.hourCycle : s.hourCycle;
  d.systemVersion = s.systemVersion;
  return d;
}

}  // namespace host
