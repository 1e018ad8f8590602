// Reading the command line against one table of commands. Each command's folder contributes its
// rows: a name, a one-line summary, how it declares its options on its CLI11 subcommand, and the
// function it runs with them, typed. Global options (the device's) may stand anywhere, a
// repeated option's last value wins, and every value is checked and converted once, here or by the
// row's reader, so that a mistake is reported before anything runs.
#pragma once

#include <any>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/core/HostOptions.h"
#include "host/core/HostSession.h"
#include "host/core/Result.h"

namespace CLI {
class App;
}

namespace host {

// The device's settings as words, from the command line, a scenario file or a manifest.
struct DeviceSettingWords {
  std::optional<std::string> locale, timeZone, now, os, hourCycle;
};

// The global options as typed: they describe the device.
struct DeviceWords {
  std::optional<std::string> container, resources, languages;
  DeviceSettingWords settings;
};

// --device and --scale, and --tint and --wallpaper where the command has them, as typed.
struct LookWords {
  std::optional<std::string> device, scale, tint, wallpaper;
};

// The matrix's options as typed; a snapshot manifest keeps them by option name (matrixWordList).
struct MatrixWords {
  DeviceWords device;
  LookWords look;
  std::optional<std::string> scenarios, scenarioFolder, appearances;
  bool pseudo = false;
};

// A command as read: its name ("snapshot record"), the device asked for, its typed options (for
// whoever wants to look at them) and its run bound to them.
struct ChosenCommand {
  std::string name;
  DeviceOptions device;
  std::any options;
  std::function<Outcome(const HostSession&)> run;
};

// Called once the whole line is parsed: checks the words bound on the subcommand.
using CommandReader = std::function<Result<ChosenCommand>()>;

struct CommandRow {
  std::string name;  // "snapshot record": a subcommand of the row "snapshot"
  std::string summary;
  // Declares the options on the command's subcommand; the global options are given as well.
  std::function<CommandReader(CLI::App& sub, const DeviceWords& global)> declare;
};

// What a row's reader gives: the device asked for and the command's own options.
template <class Options>
struct ReadOptions {
  DeviceOptions device;
  Options options;
};

// A row from a typed reader and run: the reader's options reach `run` and nothing else does.
template <class Options>
CommandRow commandRow(
    std::string name, std::string summary,
    std::function<std::function<Result<ReadOptions<Options>>()>(CLI::App&, const DeviceWords&)>
        declare,
    Outcome (*run)(const HostSession&, const Options&)) {
  auto declareRow = [name, declare = std::move(declare), run](
                        CLI::App& sub, const DeviceWords& global) -> CommandReader {
    auto read = declare(sub, global);
    return [name, read, run]() -> Result<ChosenCommand> {
      auto r = read();
      if (!r) return r.failure();
      Options o = std::move(r->options);
      return ChosenCommand{name, std::move(r->device), o,
                           [run, o](const HostSession& s) { return run(s, o); }};
    };
  };
  return CommandRow{std::move(name), std::move(summary), std::move(declareRow)};
}

struct CommandLine {
  std::optional<ChosenCommand> run;  // nothing: only `text` is to be printed (--help, --version)
  std::string text;
};

Result<CommandLine> parseCommandLine(const std::vector<std::string>& args,
                                     const std::vector<CommandRow>& commands);

// The options a family of commands shares, declared on a subcommand.
void addLookOptions(CLI::App& sub, LookWords& words);
// --tint and --wallpaper, for the commands that draw the tinted and clear home screens.
void addHomeScreenOptions(CLI::App& sub, LookWords& words);
void addMatrixOptions(CLI::App& sub, MatrixWords& words, const char* scenarioHelp);

// The device from the global options (--os: one version).
Result<DeviceOptions> readDeviceOptions(const DeviceWords& words);
// The device with a reader's options, for the commands that need nothing else of it.
template <class Options>
Result<ReadOptions<Options>> withDevice(const DeviceWords& words, Options options) {
  auto device = readDeviceOptions(words);
  if (!device) return device.failure();
  return ReadOptions<Options>{std::move(*device), std::move(options)};
}
// The same for options that were read with a check, which fails first.
template <class Options>
Result<ReadOptions<Options>> withDevice(const DeviceWords& words, Result<Options> options) {
  if (!options) return options.failure();
  return withDevice(words, std::move(*options));
}
Result<LookOptions> readLookOptions(const LookWords& words);
// --os may be a comma list here: each version is drawn, the device starting at the first.
Result<MatrixOptions> readMatrixOptions(const MatrixWords& words);

// The matrix words by option name, as a manifest keeps them, and back; an unknown name or a
// flag's word other than "true" is a usage failure.
std::vector<std::pair<std::string, std::string>> matrixWordList(const MatrixWords& words);
Result<MatrixWords> matrixWordsFromList(
    const std::vector<std::pair<std::string, std::string>>& list);

// Checks and converts the settings given into `d`. Messages name a setting by `prefix` and its
// option's name: "--time-zone: ..." for the command line, "device.time-zone: ..." for a file.
Result<Done> readDeviceSettings(const DeviceSettingWords& words, const std::string& prefix,
                                DeviceOptions& d);

// A system version ("17", "17.4.1") or "unknown" (nothing); and its word back.
Result<std::optional<os::SystemVersion>> systemVersionFromWord(const std::string& word,
                                                               const std::string& prefix);
std::string systemVersionWord(const std::optional<os::SystemVersion>& version);

// --family: nothing when not given; a usage failure for a word that names no family.
Result<std::optional<swiftui::WidgetFamily>> familyFromWord(const std::optional<std::string>& word);

// A whole number written in full, from `low` to `high`; a usage failure naming the option.
Result<int> wholeNumberFromWord(const std::string& option, const std::string& word, int low,
                                int high);
// --jobs: cells drawn at once.
Result<std::optional<int>> jobsFromWord(const std::optional<std::string>& word);

// The items of a comma list ("de-AT, en"), blanks around them dropped, empty ones left out.
std::vector<std::string> splitList(const std::string& list);

// The program's version, as --version prints it.
std::string programVersion();

}  // namespace host
