// The host's command line as typed values: which command, for which kind, on what device, drawn
// how. Parsed and checked once (CommandLine.h); commands receive these and never look at the
// words the user typed.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/system/HostDevice.h"
#include "platform/device/Device.h"
#include "platform/foundation/Date.h"
#include "platform/os/SystemVersion.h"
#include "platform/swiftui/Color.h"
#include "platform/swiftui/WidgetFamily.h"

namespace host {

enum class Command {
  placeholder,
  snapshot,
  timeline,
  render,
  tap,
  widgets,
  perform,
  gallery,
  store,
  lint,
  serve,
  snapshotRecord,  // "snapshot record DIR"
  snapshotVerify   // "snapshot verify DIR"
};

// Which of the provider's answers a drawing shows.
enum class EntryChoice { timeline, snapshot, preview, placeholder };

// What the user said about the device; what is not given comes from the environment.
struct DeviceOptions {
  std::optional<std::string> container;
  std::optional<std::string> resources;
  std::optional<std::vector<std::string>> languages;  // most preferred first
  std::optional<std::string> locale;                  // checked usable
  std::optional<std::string> timeZone;                // checked known
  std::optional<foundation::Date> now;                // nothing: the real clock
  // Nothing: the version cannot be learned ("unknown").
  std::optional<os::SystemVersion> systemVersion = os::SystemVersion{18, 0, 0};
  device::HourCycle hourCycle = device::HourCycle::localeDefault;
};

struct DrawingOptions {
  std::optional<swiftui::WidgetFamily> family;
  swiftui::ColorScheme appearance = swiftui::ColorScheme::light;
  EntryChoice entry = EntryChoice::timeline;
  host::HostDevice device;
  double scale = 2;  // PNG pixels per point, 1 to 3
};

// What `store` does with the suite; `remove` is the command word "delete".
enum class StoreAction { show, set, remove, import };

struct StoreOptions {
  StoreAction action = StoreAction::show;
  // set: KEY=VALUE or KEY:=JSON; delete: keys; import: one file, "-" for standard input. Read by
  // the store command, which knows the keys and their types.
  std::vector<std::string> items;
  bool force = false;  // replace a suite that does not parse
};

// The K-th of N parts of the gallery's cells, K from 1.
struct Shard {
  int index = 1;
  int count = 1;
};

struct GalleryOptions {
  // Named states to draw ("all" stands for every one); nothing: the container as it is.
  std::optional<std::vector<std::string>> scenarios;
  std::optional<std::string> scenarioFolder;  // nothing: the shipped scenarios
  // Each system version to draw (--os with a list); empty: the device's one.
  std::vector<std::optional<os::SystemVersion>> systemVersions;
  std::optional<Shard> shard;
  std::optional<int> jobs;                   // nothing: one per core
  std::vector<std::filesystem::path> merge;  // shard galleries to join
  bool pseudo = false;                       // the pseudo-languages too
};

// Where the preview server listens: loopback unless told otherwise; port 0 takes a free one.
struct ServeOptions {
  std::string listen = "127.0.0.1";
  int port = 8765;
};

struct SnapshotOptions {
  std::filesystem::path folder;                 // the recorded snapshots
  std::optional<std::filesystem::path> report;  // verify -o: the report's folder
  bool update = false;                          // verify: re-record what changed
  // record: the matrix options as given ("scenario" -> "all"), kept in the manifest so that
  // verify draws the same cells
  std::vector<std::pair<std::string, std::string>> matrixWords;
};

struct HostOptions {
  Command command = Command::widgets;
  std::string kind;
  bool preview = false;  // snapshot as the widget gallery asks
  DeviceOptions device;
  DrawingOptions drawing;
  GalleryOptions gallery;
  std::filesystem::path output;                 // render: the picture; gallery: the folder
  std::optional<std::filesystem::path> layout;  // render: the layout report
  StoreOptions store;
  bool json = false;  // lint: JSON instead of lines
  ServeOptions serve;
  SnapshotOptions snapshot;
};

}  // namespace host
