// What the preview page shows, held for the life of the server: the settings chosen on the page
// (language, appearance and tint, system version, device, the live container or a named state, and
// whether widgets follow every change or keep their timeline as the phone does), the simulated
// clock, the timelines the phone keeps, and the last home screen drawn with its pictures under
// generated names.
//
// Thread-safe: every public operation may be called from any thread. A version number counts
// changes; the home screen is drawn once per version, by one thread at a time, with the one text
// measurer (so no two threads ever measure at once), and the device of a drawing is a copy that
// nothing else touches.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "drawing/PangoTextMeasurer.h"
#include "host/core/HostOptions.h"
#include "host/core/HostSession.h"
#include "host/core/Names.h"
#include "host/scenarios/Scenario.h"
#include "platform/widgetkit/TimelineEntry.h"

namespace host {

// Live: every drawing asks for a fresh timeline. Phone: a widget keeps its timeline until its
// reload policy's date, or until timelines are reloaded.
enum class PreviewMode { live, phone };

inline constexpr Names<PreviewMode, 2> kPreviewModeNames{
    {{PreviewMode::live, "live"}, {PreviewMode::phone, "phone"}}};

struct PreviewSettings {
  std::string language;
  Appearance appearance = Appearance::light;
  uikit::RGBA tint = HomeScreen::kDefaultTint;
  std::optional<os::SystemVersion> systemVersion;
  std::string device;
  std::string scenario;  // empty: the live container
  PreviewMode mode = PreviewMode::live;
};

// How the clock is moved from the page.
enum class ClockMove { hour, day, set };

class PreviewState {
 public:
  // `start` is the simulated clock's first reading; `look` the device, scale and tint to start
  // from; `home` its wallpaper.
  PreviewState(const HostSession& session, const LookOptions& look, std::vector<Scenario> scenarios,
               foundation::Date start, HomeScreen home = {});

  // The choices the page offers and the settings in force, as JSON.
  nlohmann::json describe() const;
  // Applies the settings named in `changes` (a JSON object of words); a usage failure naming the
  // first word that is not one of the choices, changing nothing.
  Result<Done> change(const nlohmann::json& changes);
  Result<Done> moveClock(ClockMove move, const std::string& isoTime);
  // Asks every widget for a new timeline at the next drawing (as the app does after a write).
  void reloadTimelines();
  // Files of the container or the string tables changed.
  void filesChanged();

  std::uint64_t version() const;
  // Waits until the version differs from `seen`, at most `timeout` or until stop(); the version.
  std::uint64_t waitForChange(std::uint64_t seen, std::chrono::milliseconds timeout) const;
  void stop();
  bool stopped() const;

  // The home screen of the current version, drawn if it was not: each widget in each family and
  // the control, with picture names, texts, tap links and, for widgets, the timeline shown.
  nlohmann::json screen();
  // A picture of one of the last screens, by its generated name.
  std::optional<std::string> picture(const std::string& name) const;
  // Performs the control's intent on the current device; the URL it opens, or why not.
  Result<std::string> perform() const;

 private:
  struct KeptTimeline {
    widgetkit::AnyTimeline timeline;
    bool reloadAsked = false;
  };

  device::Device deviceFor(const PreviewSettings& settings, foundation::Date now) const;
  // The timeline the phone shows for the widget in this family: the one kept, in phone mode while
  // it is current and no reload was asked, else a new one from the provider (`asked` true).
  struct ShownTimeline {
    widgetkit::AnyTimeline timeline;
    bool asked = false;
  };
  ShownTimeline timelineFor(const widgetkit::WidgetConfiguration& widget,
                            widgetkit::WidgetFamily family, const device::Device& d,
                            PreviewMode mode, foundation::Date now);
  void bump();  // under mutex_

  const HostSession& session_;
  LookOptions look_;
  HomeScreen home_;
  std::vector<Scenario> scenarios_;
  std::vector<std::string> languages_;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  PreviewSettings settings_;
  foundation::Date now_;
  std::uint64_t version_ = 1;
  bool stopped_ = false;
  std::map<std::string, KeptTimeline> timelines_;  // by "kind/family"
  std::map<std::string, std::string> pictures_;    // generated name -> PNG bytes
  std::optional<std::pair<std::uint64_t, nlohmann::json>> lastScreen_;

  std::mutex drawing_;  // one screen drawn at a time, with the one measurer
  drawing::PangoTextMeasurer measurer_;
};

}  // namespace host
