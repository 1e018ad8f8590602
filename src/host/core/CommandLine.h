// Reading the command line: global options may stand anywhere, a repeated option's last value
// wins, and every value is checked and converted here, once, so that a mistake is reported
// before anything runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/core/HostOptions.h"
#include "host/core/Result.h"

namespace host {

struct CommandLine {
  std::optional<HostOptions> run;  // nothing: only `text` is to be printed (--help, --version)
  std::string text;
};

Result<CommandLine> parseCommandLine(const std::vector<std::string>& args);

// The items of a comma list ("de-AT, en"), blanks around them dropped, empty ones left out.
std::vector<std::string> splitList(const std::string& list);

// The device's settings as words, from the command line or a scenario file.
struct DeviceSettingWords {
  std::optional<std::string> locale, timeZone, now, os, hourCycle;
};

// Checks and converts the settings given into `d`. Messages name a setting by `prefix` and its
// option's name: "--time-zone: ..." for the command line, "device.time-zone: ..." for a file.
Result<Done> readDeviceSettings(const DeviceSettingWords& words, const std::string& prefix,
                                DeviceOptions& d);

// A system version ("17", "17.4.1") or "unknown" (nothing).
Result<std::optional<os::SystemVersion>> systemVersionFromWord(const std::string& word,
                                                               const std::string& prefix);

// The program's version, as --version prints it.
std::string programVersion();

}  // namespace host
