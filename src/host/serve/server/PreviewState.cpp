#include "host/serve/server/PreviewState.h"

#include "host/core/DeviceSetup.h"

#include <algorithm>

#include "drawing/LayoutReport.h"
#include "host/core/CommandLine.h"
#include "host/core/FamilyNames.h"
#include "host/pictures/Drawing.h"
#include "host/system/SystemActions.h"
#include "platform/foundation/PseudoLanguage.h"

namespace host {
namespace {

using nlohmann::json;

// Every word of a name table, as the page offers them.
template <class Table>
json wordsOf(const Table& names) {
  json out = json::array();
  for (const auto& n : names) out.push_back(std::string(n.word));
  return out;
}

// The versions that change what the bundle declares or how it draws, and the device's own.
std::vector<std::string> systemChoices(const std::optional<os::SystemVersion>& own) {
  std::vector<std::string> out = {"15.6", "16.4", "17.0", "17.4", "18.0", "unknown"};
  if (std::find(out.begin(), out.end(), systemVersionWord(own)) == out.end())
    out.insert(out.begin(), systemVersionWord(own));
  return out;
}

bool reloadDue(const widgetkit::AnyTimeline& t, foundation::Date now) {
  const auto& kind = t.policy.kind();
  if (auto* after = std::get_if<widgetkit::TimelineReloadPolicy::After>(&kind))
    return now >= after->date;
  if (std::holds_alternative<widgetkit::TimelineReloadPolicy::Never>(kind)) return false;
  return t.entries.empty() || now >= t.entries.back().date();
}

// The entry the phone shows at `now`: the latest that has begun, else the first.
const widgetkit::AnyTimelineEntry* shownEntry(const widgetkit::AnyTimeline& t,
                                              foundation::Date now) {
  const widgetkit::AnyTimelineEntry* shown = nullptr;
  for (const auto& e : t.entries)
    if (e.date() <= now && (!shown || e.date() >= shown->date())) shown = &e;
  if (!shown && !t.entries.empty()) shown = &t.entries.front();
  return shown;
}

void describePolicy(const widgetkit::AnyTimeline& t, json& tile) {
  const auto& kind = t.policy.kind();
  if (auto* after = std::get_if<widgetkit::TimelineReloadPolicy::After>(&kind)) {
    tile["policy"] = "after";
    tile["nextReload"] = foundation::iso8601(after->date);
  } else if (std::holds_alternative<widgetkit::TimelineReloadPolicy::Never>(kind)) {
    tile["policy"] = "never";
    tile["nextReload"] = nullptr;
  } else {
    tile["policy"] = "atEnd";
    tile["nextReload"] =
        t.entries.empty() ? json(nullptr) : json(foundation::iso8601(t.entries.back().date()));
  }
}

// The bundle's localizations, then the pseudo-languages it offers (those it would choose).
std::vector<std::string> offeredLanguages(const foundation::Bundle& bundle,
                                          const std::shared_ptr<const os::FileSystem>& fs) {
  std::vector<std::string> out = bundle.localizations();
  for (const char* name : foundation::pseudoLanguageNames) {
    auto pseudo = foundation::Bundle::atPath(fs, bundle.bundlePath(), {name});
    if (pseudo && pseudo->preferredLocalization() == name &&
        std::find(out.begin(), out.end(), name) == out.end())
      out.push_back(name);
  }
  return out;
}

// Every text the picture shows, in drawing order.
std::vector<std::string> textsOf(const drawing::LayoutTree& tree) {
  std::vector<std::string> out;
  for (const drawing::LayoutTreeNode* node : tree.texts()) out.push_back(node->text->string);
  return out;
}

}  // namespace

PreviewState::PreviewState(const HostSession& session, const LookOptions& look,
                           std::vector<Scenario> scenarios, foundation::Date start, HomeScreen home)
    : session_(session),
      look_(look),
      home_(std::move(home)),
      scenarios_(std::move(scenarios)),
      languages_(offeredLanguages(session.device.mainBundle, session.device.fileSystem)),
      now_(start),
      measurer_(look.scale) {
  settings_.language = session.device.mainBundle.preferredLocalization().value_or(
      languages_.empty() ? "en" : languages_.front());
  settings_.systemVersion = session.device.systemVersion;
  settings_.device = look.device.name;
  settings_.tint = look.tint;
}

json PreviewState::describe() const {
  std::lock_guard lock(mutex_);
  json scenarios = json::array({{{"name", ""}, {"description", "The live container"}}});
  for (const auto& s : scenarios_)
    scenarios.push_back({{"name", s.name}, {"description", s.description}});
  return {{"languages", languages_},
          {"appearances", wordsOf(kAppearanceNames)},
          {"systems", systemChoices(session_.device.systemVersion)},
          {"devices", host::hostDeviceNames()},
          {"scenarios", scenarios},
          {"modes", wordsOf(kPreviewModeNames)},
          {"container", session_.device.appGroupContainer},
          {"settings",
           {{"language", settings_.language},
            {"appearance", std::string(kAppearanceNames.nameOf(settings_.appearance))},
            {"tint", drawing::hexColor(settings_.tint)},
            {"os", systemVersionWord(settings_.systemVersion)},
            {"device", settings_.device},
            {"scenario", settings_.scenario},
            {"mode", std::string(kPreviewModeNames.nameOf(settings_.mode))}}},
          {"clock", foundation::iso8601(now_)},
          {"version", version_}};
}

Result<Done> PreviewState::change(const json& changes) {
  if (!changes.is_object()) return Failure::usage("settings: not a JSON object");
  std::lock_guard lock(mutex_);
  PreviewSettings next = settings_;
  std::optional<foundation::Date> clock;
  for (const auto& [key, value] : changes.items()) {
    if (!value.is_string()) return Failure::usage("settings: " + key + " is not a text");
    const std::string word = value.get<std::string>();
    const std::string refused = "settings: " + key + " '" + word + "' is not offered";
    if (key == "language") {
      if (std::find(languages_.begin(), languages_.end(), word) == languages_.end())
        return Failure::usage(refused);
      next.language = word;
    } else if (key == "appearance") {
      auto appearance = kAppearanceNames.valueOf(word);
      if (!appearance) return Failure::usage(refused);
      next.appearance = *appearance;
    } else if (key == "tint") {
      auto tint = colorFromHex(word);
      if (!tint) return Failure::usage(refused);
      next.tint = *tint;
    } else if (key == "os") {
      auto version = systemVersionFromWord(word, "settings: ");
      if (!version) return version.failure();
      next.systemVersion = *version;
    } else if (key == "device") {
      if (!host::hostDevice(word)) return Failure::usage(refused);
      next.device = word;
    } else if (key == "mode") {
      auto mode = kPreviewModeNames.valueOf(word);
      if (!mode) return Failure::usage(refused);
      next.mode = *mode;
    } else if (key == "scenario") {
      auto s = std::find_if(scenarios_.begin(), scenarios_.end(),
                            [&](const Scenario& sc) { return sc.name == word; });
      if (!word.empty() && s == scenarios_.end()) return Failure::usage(refused);
      next.scenario = word;
      // A named state comes with its own moment and system.
      if (s != scenarios_.end()) {
        clock = s->settings.now;
        next.systemVersion = s->settings.systemVersion;
      }
    } else {
      return Failure::usage("settings: '" + key + "' is not a setting");
    }
  }
  // A phone set to another language, system or state asks every widget afresh.
  if (next.language != settings_.language || next.systemVersion != settings_.systemVersion ||
      next.scenario != settings_.scenario || next.device != settings_.device)
    timelines_.clear();
  settings_ = next;
  if (clock) now_ = *clock;
  bump();
  return Done{};
}

Result<Done> PreviewState::moveClock(ClockMove move, const std::string& isoTime) {
  std::lock_guard lock(mutex_);
  switch (move) {
    case ClockMove::hour:
      now_ = now_.addingTimeInterval(3600);
      break;
    case ClockMove::day:
      now_ = now_.addingTimeInterval(86400);
      break;
    case ClockMove::set: {
      auto at = foundation::parseIso8601(isoTime);
      if (!at) return Failure::usage("clock: '" + isoTime + "' is not an ISO 8601 time");
      now_ = *at;
      break;
    }
  }
  bump();
  return Done{};
}

void PreviewState::reloadTimelines() {
  std::lock_guard lock(mutex_);
  for (auto& [key, kept] : timelines_) kept.reloadAsked = true;
  bump();
}

void PreviewState::filesChanged() {
  std::lock_guard lock(mutex_);
  bump();
}

void PreviewState::bump() {
  ++version_;
  changed_.notify_all();
}

std::uint64_t PreviewState::version() const {
  std::lock_guard lock(mutex_);
  return version_;
}

std::uint64_t PreviewState::waitForChange(std::uint64_t seen,
                                          std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [&] { return version_ != seen || stopped_; });
  return version_;
}

void PreviewState::stop() {
  std::lock_guard lock(mutex_);
  stopped_ = true;
  changed_.notify_all();
}

bool PreviewState::stopped() const {
  std::lock_guard lock(mutex_);
  return stopped_;
}

device::Device PreviewState::deviceFor(const PreviewSettings& s, foundation::Date now) const {
  device::Device d = session_.device;
  auto scenario = std::find_if(scenarios_.begin(), scenarios_.end(),
                               [&](const Scenario& sc) { return sc.name == s.scenario; });
  if (!s.scenario.empty() && scenario != scenarios_.end()) {
    DeviceOptions given = session_.asked;
    given.now = now;
    d = scenarioDevice(session_.device, *scenario, given);
  }
  d = deviceInLanguage(d, s.language);
  d.clock = std::make_shared<foundation::FixedClock>(now);
  d.systemVersion = s.systemVersion;
  return d;
}

PreviewState::ShownTimeline PreviewState::timelineFor(const widgetkit::WidgetConfiguration& widget,
                                                      widgetkit::WidgetFamily family,
                                                      const device::Device& d, PreviewMode mode,
                                                      foundation::Date now) {
  const std::string key = widget.kind() + "/" + familyName(family);
  {
    std::lock_guard lock(mutex_);
    auto it = timelines_.find(key);
    if (mode == PreviewMode::phone && it != timelines_.end() && !it->second.reloadAsked &&
        !reloadDue(it->second.timeline, now))
      return {it->second.timeline, false};
  }
  widgetkit::TimelineProviderContext ctx{d};
  ctx.family = family;
  ShownTimeline asked{widget.timeline(ctx), true};
  std::lock_guard lock(mutex_);
  timelines_[key] = KeptTimeline{asked.timeline, false};
  return asked;
}

json PreviewState::screen() {
  std::lock_guard drawing(drawing_);
  PreviewSettings settings;
  foundation::Date now;
  std::uint64_t version = 0;
  {
    std::lock_guard lock(mutex_);
    if (lastScreen_ && lastScreen_->first == version_) return lastScreen_->second;
    settings = settings_;
    now = now_;
    version = version_;
  }
  const device::Device d = deviceFor(settings, now);
  const auto declared = session_.body(d).declared();
  PictureLook look;
  look.appearance = settings.appearance;
  look.device = host::hostDevice(settings.device).value_or(look_.device);
  look.scale = look_.scale;
  look.homeScreen = home_;
  look.homeScreen.tint = settings.tint;
  // The control gallery keeps its own colours: in a tinted or clear look, its light or dark.
  PictureLook controlLook = look;
  controlLook.appearance = colorScheme(look.appearance) == swiftui::ColorScheme::dark
                               ? Appearance::dark
                               : Appearance::light;

  json tiles = json::array();
  std::map<std::string, std::string> pictures;
  auto addPicture = [&](Result<DrawnPicture> drawn, json& tile) {
    if (!drawn) {
      tile["error"] = drawn.failure().message;
      return;
    }
    std::string name = "v" + std::to_string(version) + "-" + std::to_string(tiles.size()) + ".png";
    tile["picture"] = "/picture/" + name;
    tile["texts"] = textsOf(drawn->tree);
    tile["width"] = drawing::reportedLength(drawn->tree.size.width);
    tile["height"] = drawing::reportedLength(drawn->tree.size.height);
    pictures[name] = std::move(drawn->bytes);
  };

  for (const auto& member : declared) {
    if (const auto* control = std::get_if<widgetkit::ControlConfiguration>(&member)) {
      json tile = {{"kind", control->kind()}, {"family", "control"}};
      addPicture(drawControl(d, *control, controlLook, measurer_), tile);
      tiles.push_back(std::move(tile));
      continue;
    }
    const auto& widget = std::get<widgetkit::WidgetConfiguration>(member);
    for (auto family : widget.families()) {
      auto [kept, asked] = timelineFor(widget, family, d, settings.mode, now);
      widgetkit::TimelineProviderContext ctx{d};
      ctx.family = family;
      const auto* shown = shownEntry(kept, now);
      const widgetkit::AnyTimelineEntry entry = shown ? *shown : widget.placeholder(ctx);
      json tile = {{"kind", widget.kind()},
                   {"family", familyName(family)},
                   {"entryDate", foundation::iso8601(entry.date())},
                   {"askedNow", asked}};
      describePolicy(kept, tile);
      auto link = tapLink(widget, family, entry);
      tile["link"] = link ? json(*link) : json(nullptr);
      addPicture(drawWidgetEntry(d, widget, family, entry, look, measurer_), tile);
      tiles.push_back(std::move(tile));
    }
  }
  json out = {{"version", version},
              {"clock", foundation::iso8601(now)},
              {"mode", std::string(kPreviewModeNames.nameOf(settings.mode))},
              {"appearance", std::string(kAppearanceNames.nameOf(settings.appearance))},
              {"tiles", std::move(tiles)}};
  std::lock_guard lock(mutex_);
  // The pictures of the screen before stay, for a page still fetching them.
  std::erase_if(pictures_, [&](const auto& p) {
    return !lastScreen_ || p.first.rfind("v" + std::to_string(lastScreen_->first) + "-", 0) != 0;
  });
  pictures_.merge(pictures);
  lastScreen_ = std::make_pair(version, out);
  return out;
}

std::optional<std::string> PreviewState::picture(const std::string& name) const {
  std::lock_guard lock(mutex_);
  auto it = pictures_.find(name);
  if (it == pictures_.end()) return std::nullopt;
  return it->second;
}

Result<std::string> PreviewState::perform() const {
  PreviewSettings settings;
  foundation::Date now;
  {
    std::lock_guard lock(mutex_);
    settings = settings_;
    now = now_;
  }
  device::Device d = deviceFor(settings, now);
  // This thread runs the intent's main-actor work for this one request.
  d.mainActor = std::make_shared<os::MainActor>();
  for (const auto& member : session_.body(d).declared()) {
    if (const auto* control = std::get_if<widgetkit::ControlConfiguration>(&member)) {
      auto url = host::performControl(d, *control);
      if (!url) return Failure::runtime("the intent opens nothing");
      return *url;
    }
  }
  return Failure::usage("no control is offered on iOS " +
                        systemVersionWord(settings.systemVersion));
}

}  // namespace host
