#include "host/matrix/CellMatrix.h"

#include <algorithm>

#include "host/core/DeviceSetup.h"
#include "host/core/FamilyNames.h"
#include "host/core/SafePathComponent.h"
#include "host/scenarios/Scenario.h"
#include "platform/foundation/PseudoLanguage.h"

namespace host {
namespace {

// The languages to draw, each once, in the order asked.
std::vector<std::string> languagesToDraw(const HostSession& s, const MatrixOptions& o) {
  std::vector<std::string> asked =
      o.device.languages ? *o.device.languages : s.device.mainBundle.localizations();
  std::vector<std::string> out;
  if (o.pseudo)
    asked.insert(asked.end(), foundation::pseudoLanguageNames.begin(),
                 foundation::pseudoLanguageNames.end());
  for (const auto& l : asked)
    if (std::find(out.begin(), out.end(), l) == out.end()) out.push_back(l);
  return out;
}

std::string systemLabel(const std::optional<os::SystemVersion>& v) {
  return v ? "iOS " + v->text() : "iOS unknown";
}

// Each state of the app to draw: the scenarios' devices, or the device as it is.
struct Base {
  std::string scenario;
  device::Device device;
};

Result<std::vector<Base>> bases(const HostSession& s, const MatrixOptions& g,
                                std::vector<ScenarioNote>& notes) {
  if (!g.scenarios) return std::vector<Base>{{"", s.device}};
  auto scenarios =
      loadScenarios(*s.files, g.scenarioFolder.value_or(s.paths.scenarios), *g.scenarios);
  if (!scenarios) return scenarios.failure();
  std::vector<Base> out;
  for (const auto& scenario : *scenarios) {
    notes.push_back({scenario.name, scenario.description});
    out.push_back({scenario.name, scenarioDevice(s.device, scenario, g.device)});
  }
  return out;
}

}  // namespace

bool inShard(const std::string& cellName, const Shard& shard) {
  return stableHash(cellName) % static_cast<std::uint64_t>(shard.count) ==
         static_cast<std::uint64_t>(shard.index - 1);
}

Result<Matrix> buildMatrix(const HostSession& s, const MatrixOptions& o,
                           const std::optional<Shard>& shard) {
  Matrix m;
  auto states = bases(s, o, m.scenarios);
  if (!states) return states.failure();
  const auto& versions = o.systemVersions;
  const bool severalVersions = versions.size() > 1;
  std::size_t position = 0;
  for (const auto& base : *states) {
    for (const auto& language : languagesToDraw(s, o)) {
      MatrixGroup group{base.scenario, language, "", {}};
      group.folder =
          (base.scenario.empty() ? "" : base.scenario + "/") + safePathComponent(language);
      std::vector<std::optional<os::SystemVersion>> each = versions;
      if (each.empty()) each.push_back(base.device.systemVersion);
      for (const auto& version : each) {
        auto d = std::make_shared<device::Device>(deviceInLanguage(base.device, language));
        if (!versions.empty()) d->systemVersion = version;
        MatrixState state{severalVersions ? systemLabel(version) : "", d, s.body(*d).declared()};
        group.states.push_back(std::move(state));
      }
      const std::size_t g = m.groups.size();
      for (std::size_t st = 0; st < group.states.size(); ++st) {
        const MatrixState& state = group.states[st];
        std::string suffix =
            severalVersions ? "-" + safePathComponent(state.system.substr(4)) : std::string();
        for (auto appearance : o.appearances) {
          if (!offers(state.device->systemVersion, appearance)) continue;
          const bool fullColor =
              renderingMode(appearance) == swiftui::WidgetRenderingMode::fullColor;
          for (std::size_t i = 0; i < state.members.size(); ++i) {
            const auto& member = state.members[i];
            auto add = [&](const std::string& kind, std::optional<widgetkit::WidgetFamily> family) {
              std::string stem = kind + "-" + (family ? familyName(*family) : "control") + "-" +
                                 std::string(kAppearanceNames.nameOf(appearance));
              MatrixCell cell{g,          st,
                              i,          family,
                              appearance, group.folder + "/" + safePathComponent(stem) + suffix,
                              position++};
              if (!shard || inShard(cell.name, *shard)) m.cells.push_back(std::move(cell));
            };
            if (auto* w = std::get_if<widgetkit::WidgetConfiguration>(&member)) {
              for (auto family : w->families()) add(w->kind(), family);
            } else if (fullColor) {  // the control gallery keeps its own colours
              add(std::get<widgetkit::ControlConfiguration>(member).kind(), std::nullopt);
            }
          }
        }
      }
      m.groups.push_back(std::move(group));
    }
  }
  return m;
}

}  // namespace host
