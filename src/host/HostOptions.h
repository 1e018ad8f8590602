// The host's command line: global options that may stand anywhere, a command and its arguments.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace host {

struct HostOptions {
  // The device.
  std::optional<std::string> container;
  std::optional<std::string> resources;
  std::optional<std::string> languages;  // comma list
  std::optional<std::string> locale;
  std::optional<std::string> timeZone;
  std::optional<std::string> now;  // ISO 8601
  std::optional<std::string> os;   // "17.4", "unknown"
  std::optional<std::string> hourCycle;

  // The command: placeholder, snapshot, timeline, render, tap, widgets, perform, gallery.
  std::string command;
  std::string kind;
  bool preview = false;

  // Drawing.
  std::string family;                 // "small", "medium"
  std::string output;                 // picture file, or the gallery's directory
  std::optional<std::string> layout;  // layout report file
  std::string entry = "timeline";     // which request's entry is drawn
  std::string appearance = "light";
  std::optional<std::string> deviceName;
  double scale = 2;
};

// Either options to run with, or the exit status to end with (0 after --help, 2 after an error,
// whose one-line message has been written to standard error).
using ParsedCommandLine = std::variant<HostOptions, int>;

ParsedCommandLine parseCommandLine(int argc, char** argv);

// The items of a comma list ("de-AT, en"), blanks around them dropped, empty ones left out.
std::vector<std::string> splitList(const std::string& list);

}  // namespace host
