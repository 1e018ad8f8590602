// Named states of the app: what the host app can leave in the store (or no container at all),
// with the device settings of the moment, one JSON file each in a scenarios folder:
//
//   {"description": "Signed in, a negative balance",
//    "store": {"widget_auth_status": "logged_in", "widget_balance": -1234.5},
//    "device": {"now": "2026-03-14T09:41:00Z", "time-zone": "Europe/Berlin", "locale": "de_DE",
//               "hour-cycle": "24", "os": "17.4"}}
//
// "store" holds the suite's values as `store show` prints them, or null for a device on which
// the app group has no container. A scenario is drawn on a device of its own: its store lives in
// memory, and whatever it leaves out of "device" takes a fixed value (the clock at
// 2026-03-14T09:41:00Z, UTC, en_US, the system 18.0), so its pictures do not depend on the
// machine that draws them. Options given on the command line override the file.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "host/core/HostOptions.h"
#include "host/core/Result.h"
#include "platform/device/Device.h"
#include "platform/os/FileSystem.h"

namespace host {

struct Scenario {
  std::string name;  // the file's name without ".json"
  std::string description;
  std::optional<std::string> suite;  // the suite file's bytes; nothing: no container at all
  DeviceOptions settings;            // the device settings, defaults filled in
};

// The scenarios named (a name "all" stands for every one in the folder, by name), each read and
// checked; a usage failure for a name the folder lacks (listing those it has), a runtime failure
// naming the file and the fault for a file that cannot be read or is malformed.
Result<std::vector<Scenario>> loadScenarios(const os::FileSystem& files,
                                            const std::filesystem::path& folder,
                                            const std::vector<std::string>& names);

// The base device put in the scenario's state: its store, and its settings where the command
// line gave none (`given`).
device::Device scenarioDevice(const device::Device& base, const Scenario& scenario,
                              const DeviceOptions& given);

}  // namespace host
