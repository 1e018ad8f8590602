// The host's command line: global options that may stand anywhere, a command and its arguments.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace host {

struct HostOptions {
  std::optional<std::string> container;
  std::optional<std::string> resources;
  std::optional<std::string> languages;  // comma list
  std::optional<std::string> locale;
  std::optional<std::string> timeZone;
  std::optional<std::string> now;  // ISO 8601
  std::optional<std::string> os;   // "17.4", "unknown"
  std::optional<std::string> hourCycle;

  std::string command;  // "placeholder", "snapshot", "timeline"
  std::string kind;
  bool preview = false;
};

// Either options to run with, or the exit status to end with (0 after --help, 2 after an error,
// whose one-line message has been written to standard error).
using ParsedCommandLine = std::variant<HostOptions, int>;

ParsedCommandLine parseCommandLine(int argc, char** argv);

}  // namespace host
