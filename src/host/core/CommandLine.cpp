#include "host/core/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

#include "host/core/DeviceSetup.h"
#include "platform/foundation/Locale.h"

namespace host {
namespace {

const char* kDescription =
    "Drives the Tamsa widget extension the way the phone's widget host does.\n"
    "Exit status: 0 done, 1 the job could not be done (an output cannot be written, "
    "nothing to open), 2 a usage error, 3 a check found problems (lint, snapshot verify).";

void addDeviceOptions(CLI::App& app, DeviceWords& w) {
  app.add_option("--container", w.container,
                 "App-group container directory (default: $TAMSA_APP_GROUP_CONTAINER, else the "
                 "shipped sample container)");
  app.add_option("--resources", w.resources,
                 "Bundle resources with <language>.lproj string tables (default: the shipped "
                 "tables)");
  app.add_option("--language", w.languages,
                 "Preferred languages, most preferred first, comma separated (default: from "
                 "LANGUAGE, LC_ALL, LC_MESSAGES, LANG; else the development language, English)");
  app.add_option("--locale", w.settings.locale,
                 "Device locale for times, such as en_US or de_DE (default: from LC_ALL, LC_TIME, "
                 "LANG; else en_US)");
  app.add_option("--time-zone", w.settings.timeZone,
                 "Device time zone, such as Europe/Berlin (default: the machine's)");
  app.add_option("--now", w.settings.now,
                 "Fixed time for the clock, ISO 8601 (2026-01-01T09:00:00Z; default: the real "
                 "clock)");
  app.add_option("--os", w.settings.os,
                 "System version imitated: 17, 17.4, 17.4.1 or unknown (default 18.0); the "
                 "gallery takes a comma list");
  app.add_option("--hour-cycle", w.settings.hourCycle,
                 "Device's 24-hour switch: 12 or 24 (default: the "
                 "locale's own)");
}

// A number written in full in decimal: no hex, no exponent, no trailing words, finite.
std::optional<double> decimal(const std::string& word) {
  double v = 0;
  const char* end = word.data() + word.size();
  auto [p, ec] = std::from_chars(word.data(), end, v, std::chars_format::fixed);
  if (ec != std::errc() || p != end || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::string commandNames(const std::vector<CommandRow>& commands) {
  std::string out;
  for (const auto& c : commands)
    if (c.name.find(' ') == std::string::npos) out += (out.empty() ? "" : ", ") + c.name;
  return out;
}

// CLI11's own message, or ours where it says less than we know.
std::string parseErrorMessage(const CLI::ParseError& e, const CLI::App& app,
                              const std::vector<std::string>& args, const std::string& names) {
  if (app.get_subcommands().empty()) {
    // The first word that is not an option is what the user meant as the command.
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (args[i].rfind("-", 0) != 0)
        return "unknown command '" + args[i] + "' (commands: " + names + "; see --help)";
      if (args[i].find('=') == std::string::npos && args[i] != "--help" && args[i] != "-h") ++i;
    }
    if (dynamic_cast<const CLI::RequiredError*>(&e))
      return "no command given (commands: " + names + "; see --help)";
  }
  return e.what();
}

// The subcommand the line chose, the deepest one ("record" of "snapshot record").
std::pair<CLI::App*, std::string> chosenCommand(CLI::App& app) {
  CLI::App* chosen = app.get_subcommands().front();
  std::string name = chosen->get_name();
  while (!chosen->get_subcommands().empty()) {
    chosen = chosen->get_subcommands().front();
    name += " " + chosen->get_name();
  }
  return {chosen, name};
}

// Words nothing took: the extras of every command on the way, and the arguments of a command
// whose subcommand was chosen ("snapshot KIND record": KIND).
std::vector<std::string> unexpectedWords(CLI::App& app, CLI::App* chosen) {
  std::vector<std::string> extra = app.remaining();
  for (CLI::App* at = chosen; at != &app; at = at->get_parent()) {
    auto more = at->remaining();
    extra.insert(extra.end(), more.begin(), more.end());
    if (at == chosen) continue;
    for (const CLI::Option* o : at->get_options(
             [](const CLI::Option* o) { return o->get_positional() && o->count() > 0; }))
      for (const auto& word : o->results()) extra.push_back(word);
  }
  return extra;
}

// Adds each row's subcommand under its parent ("snapshot record" under "snapshot").
std::vector<std::pair<CLI::App*, CommandReader>> declareCommands(
    CLI::App& app, const std::vector<CommandRow>& commands, const DeviceWords& global) {
  std::vector<std::pair<CLI::App*, CommandReader>> readers;
  for (const auto& row : commands) {
    CLI::App* parent = &app;
    std::string word = row.name;
    for (auto space = word.find(' '); space != std::string::npos; space = word.find(' ')) {
      parent = parent->get_subcommand(word.substr(0, space));
      parent->require_subcommand(0, 1);
      word = word.substr(space + 1);
    }
    CLI::App* sub = parent->add_subcommand(word, row.summary);
    sub->fallthrough();
    sub->allow_extras();
    readers.emplace_back(sub, row.declare(*sub, global));
  }
  return readers;
}

}  // namespace

Result<CommandLine> parseCommandLine(const std::vector<std::string>& args,
                                     const std::vector<CommandRow>& commands) {
  DeviceWords global;
  CLI::App app{kDescription, "tamsa-widgets"};
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.set_version_flag("--version", programVersion());
  app.require_subcommand(1);
  app.allow_extras();
  addDeviceOptions(app, global);
  auto readers = declareCommands(app, commands, global);

  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them back first
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    return CommandLine{std::nullopt, app.help()};
  } catch (const CLI::CallForAllHelp&) {
    return CommandLine{std::nullopt, app.help("", CLI::AppFormatMode::All)};
  } catch (const CLI::CallForVersion&) {
    return CommandLine{std::nullopt, programVersion() + "\n"};
  } catch (const CLI::ParseError& e) {
    return Failure::usage(parseErrorMessage(e, app, args, commandNames(commands)));
  }

  auto [chosen, name] = chosenCommand(app);
  std::vector<std::string> extra = unexpectedWords(app, chosen);
  if (!extra.empty()) {
    std::string words;
    for (const auto& e : extra) words += (words.empty() ? "" : " ") + e;
    return Failure::usage("unexpected argument" + std::string(extra.size() > 1 ? "s" : "") + ": " +
                          words);
  }
  for (const auto& [sub, read] : readers) {
    if (sub != chosen) continue;
    auto command = read();
    if (!command) return command.failure();
    return CommandLine{std::move(*command), ""};
  }
  return Failure::usage("unknown command '" + name + "'");
}

void addLookOptions(CLI::App& sub, LookWords& w) {
  sub.add_option("--device", w.device, "Phone whose home screen is imitated (default iphone15)");
  sub.add_option("--scale", w.scale, "PNG pixels per point, 1 to 3 (default 2)");
}

void addHomeScreenOptions(CLI::App& sub, LookWords& w) {
  sub.add_option("--tint", w.tint, "Tint of the tinted home screen, #RRGGBB (default #FF9500)");
  sub.add_option("--wallpaper", w.wallpaper,
                 "PNG behind the clear home screen's glass (default a plain blue)");
}

void addMatrixOptions(CLI::App& sub, MatrixWords& w, const char* scenarioHelp) {
  addLookOptions(sub, w.look);
  addHomeScreenOptions(sub, w.look);
  sub.add_option("--appearance", w.appearances,
                 "Appearances, each drawn on the systems that have it: light, dark, tinted "
                 "(iOS 18), clear (iOS 26), tinted-light, clear-light (default light,dark)");
  sub.add_option("--scenario", w.scenarios, scenarioHelp);
  sub.add_option("--scenarios", w.scenarioFolder,
                 "Folder of scenario files <name>.json (default: the shipped scenarios)");
  sub.add_flag("--pseudo", w.pseudo,
               "Also draw the pseudo-languages en-XA (accented, longer), en-XL (twice as long) "
               "and ar-XB (right to left)");
}

Result<DeviceOptions> readDeviceOptions(const DeviceWords& w) {
  DeviceOptions d;
  d.container = w.container;
  d.resources = w.resources;
  if (w.languages) {
    d.languages = splitList(*w.languages);
    if (d.languages->empty()) return Failure::usage("--language: no language given");
  }
  if (auto r = readDeviceSettings(w.settings, "--", d); !r) return r.failure();
  return d;
}

Result<LookOptions> readLookOptions(const LookWords& w) {
  LookOptions look;
  std::string deviceName = w.device.value_or(host::defaultDeviceName);
  auto device = host::hostDevice(deviceName);
  if (!device) {
    std::string names;
    for (const auto& n : host::hostDeviceNames()) names += (names.empty() ? "" : ", ") + n;
    return Failure::usage("--device: '" + deviceName + "' is not a device (accepted: " + names +
                          ")");
  }
  look.device = *device;
  if (w.scale) {
    auto scale = decimal(*w.scale);
    if (!scale || !(*scale >= 1 && *scale <= 3))
      return Failure::usage("--scale: '" + *w.scale + "' is not a number from 1 to 3");
    look.scale = *scale;
  }
  if (w.tint) {
    auto tint = colorFromHex(*w.tint);
    if (!tint) return Failure::usage("--tint: '" + *w.tint + "' is not a colour #RRGGBB");
    look.tint = *tint;
  }
  if (w.wallpaper) {
    if (w.wallpaper->empty()) return Failure::usage("--wallpaper: an empty path names no file");
    look.wallpaper = *w.wallpaper;
  }
  return look;
}

Result<MatrixOptions> readMatrixOptions(const MatrixWords& w) {
  MatrixOptions m;
  DeviceWords device = w.device;
  if (device.settings.os) {
    for (const auto& word : splitList(*device.settings.os)) {
      auto version = systemVersionFromWord(word, "--");
      if (!version) return version.failure();
      m.systemVersions.push_back(*version);
    }
    if (m.systemVersions.empty()) return Failure::usage("--os: no version given");
    device.settings.os.reset();
  }
  auto d = readDeviceOptions(device);
  if (!d) return d.failure();
  m.device = std::move(*d);
  if (!m.systemVersions.empty()) m.device.systemVersion = m.systemVersions.front();
  auto look = readLookOptions(w.look);
  if (!look) return look.failure();
  m.look = *look;
  if (w.scenarios) {
    m.scenarios = splitList(*w.scenarios);
    if (m.scenarios->empty()) return Failure::usage("--scenario: no scenario given");
  }
  m.scenarioFolder = w.scenarioFolder;
  if (w.appearances) {
    m.appearances.clear();
    for (const auto& word : splitList(*w.appearances)) {
      auto appearance = kAppearanceNames.read("--appearance", word);
      if (!appearance) return appearance.failure();
      if (std::find(m.appearances.begin(), m.appearances.end(), *appearance) == m.appearances.end())
        m.appearances.push_back(*appearance);
    }
    if (m.appearances.empty()) return Failure::usage("--appearance: no appearance given");
  }
  m.pseudo = w.pseudo;
  return m;
}

namespace {

// The word a matrix option's name stands for in `w`; nothing for an unknown name.
std::optional<std::string>* wordNamed(MatrixWords& w, const std::string& name) {
  std::pair<const char*, std::optional<std::string>*> words[] = {
      {"scenario", &w.scenarios},
      {"scenarios", &w.scenarioFolder},
      {"language", &w.device.languages},
      {"os", &w.device.settings.os},
      {"device", &w.look.device},
      {"scale", &w.look.scale},
      {"appearance", &w.appearances},
      {"tint", &w.look.tint},
      {"wallpaper", &w.look.wallpaper},
      {"locale", &w.device.settings.locale},
      {"time-zone", &w.device.settings.timeZone},
      {"now", &w.device.settings.now},
      {"hour-cycle", &w.device.settings.hourCycle},
      {"resources", &w.device.resources},
      {"container", &w.device.container}};
  for (const auto& [n, word] : words)
    if (name == n) return word;
  return nullptr;
}

// The order a manifest lists them in.
constexpr const char* kMatrixWordOrder[] = {
    "scenario",  "scenarios", "language",  "os",  "device",     "scale",     "appearance", "tint",
    "wallpaper", "locale",    "time-zone", "now", "hour-cycle", "resources", "container"};

}  // namespace

std::vector<std::pair<std::string, std::string>> matrixWordList(const MatrixWords& words) {
  MatrixWords w = words;
  std::vector<std::pair<std::string, std::string>> out;
  for (const char* name : kMatrixWordOrder)
    if (auto* word = wordNamed(w, name); word && *word) out.emplace_back(name, **word);
  if (w.pseudo) out.emplace_back("pseudo", "true");
  return out;
}

Result<MatrixWords> matrixWordsFromList(
    const std::vector<std::pair<std::string, std::string>>& list) {
  MatrixWords w;
  for (const auto& [name, word] : list) {
    if (name == "pseudo") {
      if (word != "true" && word != "false")
        return Failure::usage("--pseudo: '" + word + "' is not true or false");
      w.pseudo = word == "true";
    } else if (auto* target = wordNamed(w, name)) {
      *target = word;
    } else {
      return Failure::usage("--" + name + " is not a matrix option");
    }
  }
  return w;
}

Result<std::optional<os::SystemVersion>> systemVersionFromWord(const std::string& word,
                                                               const std::string& prefix) {
  auto version = os::SystemVersion::parse(word);
  if (!version && word != "unknown")
    return Failure::usage(prefix + "os: '" + word +
                          "' is not a system version (accepted: 17, 17.4, 17.4.1, unknown)");
  return version;
}

std::string systemVersionWord(const std::optional<os::SystemVersion>& version) {
  return version ? version->text() : "unknown";
}

Result<std::optional<swiftui::WidgetFamily>> familyFromWord(
    const std::optional<std::string>& word) {
  if (!word) return std::optional<swiftui::WidgetFamily>();
  auto family = kFamilyNames.valueOf(*word);
  if (!family)
    return Failure::usage("--family: '" + *word +
                          "' is not a widget family (accepted: small, medium)");
  return std::optional<swiftui::WidgetFamily>(family);
}

Result<int> wholeNumberFromWord(const std::string& option, const std::string& word, int low,
                                int high) {
  int n = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), n);
  if (ec != std::errc() || end != word.data() + word.size() || n < low || n > high)
    return Failure::usage(option + ": '" + word + "' is not a number from " + std::to_string(low) +
                          " to " + std::to_string(high));
  return n;
}

Result<std::optional<int>> jobsFromWord(const std::optional<std::string>& word) {
  if (!word) return std::optional<int>();
  auto jobs = wholeNumberFromWord("--jobs", *word, 1, 256);
  if (!jobs) return jobs.failure();
  return std::optional<int>(*jobs);
}

Result<Done> readDeviceSettings(const DeviceSettingWords& w, const std::string& prefix,
                                DeviceOptions& d) {
  if (w.locale) {
    d.locale = foundation::canonicalLocaleIdentifier(*w.locale);
    if (!d.locale)
      return Failure::usage(prefix + "locale: '" + *w.locale +
                            "' is not a locale this system knows (accepted: en_US, de_DE, "
                            "zh_Hans_CN, ...)");
  }
  if (w.timeZone) {
    if (!isKnownTimeZone(*w.timeZone))
      return Failure::usage(prefix + "time-zone: '" + *w.timeZone +
                            "' is not a time zone (accepted: an IANA name such as Europe/Berlin, "
                            "or UTC, GMT+2)");
    d.timeZone = w.timeZone;
  }
  if (w.now) {
    d.now = foundation::parseIso8601(*w.now);
    if (!d.now)
      return Failure::usage(prefix + "now: '" + *w.now +
                            "' is not an ISO 8601 time (accepted: 2026-01-01T09:00:00Z, "
                            "2026-01-01T10:00:00.250+01:00)");
  }
  if (w.os) {
    auto version = systemVersionFromWord(*w.os, prefix);
    if (!version) return version.failure();
    d.systemVersion = *version;
  }
  if (w.hourCycle) {
    auto cycle = kHourCycleNames.read(prefix + "hour-cycle", *w.hourCycle);
    if (!cycle) return cycle.failure();
    d.hourCycle = *cycle;
  }
  return Done{};
}

std::vector<std::string> splitList(const std::string& list) {
  std::vector<std::string> out;
  std::stringstream in(list);
  for (std::string item; std::getline(in, item, ',');) {
    auto b = item.find_first_not_of(' ');
    auto e = item.find_last_not_of(' ');
    if (b != std::string::npos) out.push_back(item.substr(b, e - b + 1));
  }
  return out;
}

std::string programVersion() {
  return std::string("tamsa-widgets ") + TAMSA_VERSION;
}

}  // namespace host
