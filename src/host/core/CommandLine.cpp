#include "host/core/CommandLine.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <sstream>

#include "host/core/DeviceSetup.h"
#include "host/core/FamilyNames.h"
#include "platform/foundation/Locale.h"

namespace host {
namespace {

const char* kCommands =
    "placeholder, snapshot, timeline, render, tap, widgets, perform, gallery, store, lint, serve";

// The words as typed, before they are checked.
struct Words {
  std::optional<std::string> container, resources, languages;
  DeviceSettingWords settings;
  std::string kind;
  bool preview = false, json = false, pseudo = false;
  std::optional<std::string> family, appearance, entry, device, scale, output, layout;
  std::string storeAction;
  std::vector<std::string> storeItems;
  bool force = false;
  std::optional<std::string> scenarios, scenarioFolder, shard, jobs;
  std::vector<std::string> merge;
  std::optional<std::string> listen, port;
  std::optional<std::string> snapshotFolder;
  bool update = false;
};

void addDeviceOptions(CLI::App& app, Words& w) {
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

// The phone and the pixels; the gallery draws both appearances, render one.
void addLookOptions(CLI::App* sub, Words& w) {
  sub->add_option("--device", w.device, "Phone whose home screen is imitated (default iphone15)");
  sub->add_option("--scale", w.scale, "PNG pixels per point, 1 to 3 (default 2)");
}

template <class T>
struct Named {
  const char* name;
  T value;
};

template <class T, std::size_t N>
Result<T> oneOf(const char* option, const std::string& word, const Named<T> (&names)[N]) {
  std::string accepted;
  for (const auto& n : names) {
    if (word == n.name) return n.value;
    accepted += (accepted.empty() ? "" : ", ") + std::string(n.name);
  }
  return Failure::usage(std::string(option) + ": '" + word +
                        "' is not accepted (accepted: " + accepted + ")");
}

// Sets target from the word when one was given.
template <class T, std::size_t N>
Result<Done> setOneOf(const char* option, const std::optional<std::string>& word,
                      const Named<T> (&names)[N], T& target) {
  if (!word) return Done{};
  auto value = oneOf(option, *word, names);
  if (!value) return value.failure();
  target = *value;
  return Done{};
}

constexpr Named<Command> kCommandNames[] = {{"placeholder", Command::placeholder},
                                            {"snapshot", Command::snapshot},
                                            {"timeline", Command::timeline},
                                            {"render", Command::render},
                                            {"tap", Command::tap},
                                            {"widgets", Command::widgets},
                                            {"perform", Command::perform},
                                            {"gallery", Command::gallery},
                                            {"store", Command::store},
                                            {"lint", Command::lint},
                                            {"serve", Command::serve}};
constexpr Named<StoreAction> kStoreActions[] = {{"show", StoreAction::show},
                                                {"set", StoreAction::set},
                                                {"delete", StoreAction::remove},
                                                {"import", StoreAction::import}};
constexpr Named<swiftui::ColorScheme> kAppearances[] = {{"light", swiftui::ColorScheme::light},
                                                        {"dark", swiftui::ColorScheme::dark}};
constexpr Named<EntryChoice> kEntries[] = {{"timeline", EntryChoice::timeline},
                                           {"snapshot", EntryChoice::snapshot},
                                           {"preview", EntryChoice::preview},
                                           {"placeholder", EntryChoice::placeholder}};
constexpr Named<device::HourCycle> kHourCycles[] = {{"12", device::HourCycle::h12},
                                                    {"24", device::HourCycle::h24}};

// A number written in full in decimal: no hex, no trailing words, finite.
std::optional<double> decimal(const std::string& word) {
  double v = 0;
  const char* end = word.data() + word.size();
  auto [p, ec] = std::from_chars(word.data(), end, v, std::chars_format::fixed);
  if (ec != std::errc() || p != end || !std::isfinite(v)) return std::nullopt;
  return v;
}

Result<Done> readDevice(const Words& w, Command command, HostOptions& o) {
  DeviceOptions& d = o.device;
  d.container = w.container;
  d.resources = w.resources;
  if (w.languages) {
    d.languages = splitList(*w.languages);
    if (d.languages->empty()) return Failure::usage("--language: no language given");
  }
  DeviceSettingWords settings = w.settings;
  if (settings.os && (command == Command::gallery || command == Command::snapshotRecord)) {
    // The gallery draws each version of a list; the device starts at the first.
    for (const auto& word : splitList(*settings.os)) {
      auto version = systemVersionFromWord(word, "--");
      if (!version) return version.failure();
      o.gallery.systemVersions.push_back(*version);
    }
    if (o.gallery.systemVersions.empty()) return Failure::usage("--os: no version given");
    settings.os.reset();
    d.systemVersion = o.gallery.systemVersions.front();
  }
  return readDeviceSettings(settings, "--", d);
}

Result<Done> readDrawing(const Words& w, DrawingOptions& d) {
  if (w.family) {
    d.family = familyFromName(*w.family);
    if (!d.family)
      return Failure::usage("--family: '" + *w.family +
                            "' is not a widget family (accepted: small, medium)");
  }
  if (auto r = setOneOf("--appearance", w.appearance, kAppearances, d.appearance); !r) return r;
  if (auto r = setOneOf("--entry", w.entry, kEntries, d.entry); !r) return r;
  std::string deviceName = w.device.value_or(host::defaultDeviceName);
  auto device = host::hostDevice(deviceName);
  if (!device) {
    std::string names;
    for (const auto& n : host::hostDeviceNames()) names += (names.empty() ? "" : ", ") + n;
    return Failure::usage("--device: '" + deviceName + "' is not a device (accepted: " + names +
                          ")");
  }
  d.device = *device;
  if (w.scale) {
    auto scale = decimal(*w.scale);
    if (!scale || *scale < 1 || *scale > 3)
      return Failure::usage("--scale: '" + *w.scale + "' is not a number from 1 to 3");
    d.scale = *scale;
  }
  return Done{};
}

// "K/N" with 1 <= K <= N.
std::optional<Shard> shardFromWord(const std::string& word) {
  auto slash = word.find('/');
  if (slash == std::string::npos) return std::nullopt;
  int k = 0, n = 0;
  const char* end = word.data() + word.size();
  auto [p1, e1] = std::from_chars(word.data(), word.data() + slash, k);
  auto [p2, e2] = std::from_chars(word.data() + slash + 1, end, n);
  if (e1 != std::errc() || e2 != std::errc() || p1 != word.data() + slash || p2 != end || k < 1 ||
      n < 1 || k > n)
    return std::nullopt;
  return Shard{k, n};
}

Result<Done> readGallery(const Words& w, HostOptions& o) {
  GalleryOptions& g = o.gallery;
  g.pseudo = w.pseudo;
  if (w.scenarios) {
    g.scenarios = splitList(*w.scenarios);
    if (g.scenarios->empty()) return Failure::usage("--scenario: no scenario given");
  }
  g.scenarioFolder = w.scenarioFolder;
  if (w.shard) {
    g.shard = shardFromWord(*w.shard);
    if (!g.shard)
      return Failure::usage("--shard: '" + *w.shard +
                            "' is not K/N with 1 <= K <= N (such as 2/4)");
  }
  if (w.jobs) {
    int jobs = 0;
    auto [end, ec] = std::from_chars(w.jobs->data(), w.jobs->data() + w.jobs->size(), jobs);
    if (ec != std::errc() || end != w.jobs->data() + w.jobs->size() || jobs < 1 || jobs > 256)
      return Failure::usage("--jobs: '" + *w.jobs + "' is not a number from 1 to 256");
    g.jobs = jobs;
  }
  for (const auto& dir : w.merge) g.merge.emplace_back(dir);
  if (!g.merge.empty() && (g.shard || g.scenarios))
    return Failure::usage("--merge joins finished shards; it takes no --shard or --scenario");
  return Done{};
}

Result<Done> readFiles(const Words& w, HostOptions& o) {
  if (!w.output) return Done{};
  if (w.output->empty()) return Failure::usage("-o: an empty path names no file");
  o.output = *w.output;
  if (w.layout) {
    if (w.layout->empty()) return Failure::usage("--layout: an empty path names no file");
    o.layout = *w.layout;
    std::error_code ec;
    auto same = std::filesystem::weakly_canonical(o.output, ec) ==
                std::filesystem::weakly_canonical(*o.layout, ec);
    if (same || o.output.lexically_normal() == o.layout->lexically_normal())
      return Failure::usage("--layout: '" + *w.layout +
                            "' is the picture's own file; give the report a file of its own");
  }
  return Done{};
}

Result<Done> readServe(const Words& w, ServeOptions& s) {
  if (w.listen) {
    if (w.listen->empty()) return Failure::usage("--listen: no address given");
    s.listen = *w.listen;
  }
  if (w.port) {
    int port = -1;
    auto [end, ec] = std::from_chars(w.port->data(), w.port->data() + w.port->size(), port);
    if (ec != std::errc() || end != w.port->data() + w.port->size() || port < 0 || port > 65535)
      return Failure::usage("--port: '" + *w.port + "' is not a port from 0 to 65535");
    s.port = port;
  }
  return Done{};
}

Result<Done> readStore(const Words& w, StoreOptions& s) {
  auto action = oneOf("store", w.storeAction, kStoreActions);
  if (!action) return action.failure();
  s = StoreOptions{*action, w.storeItems, w.force};
  const std::size_t n = s.items.size();
  switch (s.action) {
    case StoreAction::show:
      if (n == 0) return Done{};
      return Failure::usage("store show: takes no arguments");
    case StoreAction::set:
      if (n > 0) return Done{};
      return Failure::usage("store set: give at least one KEY=VALUE or KEY:=JSON");
    case StoreAction::remove:
      if (n > 0) return Done{};
      return Failure::usage("store delete: give at least one KEY");
    case StoreAction::import:
      if (n == 1) return Done{};
      return Failure::usage("store import: give one FILE.json, or - for standard input");
  }
  return Done{};
}

// The matrix options as typed, by option name, for a snapshot's manifest.
std::vector<std::pair<std::string, std::string>> matrixWords(const Words& w) {
  std::vector<std::pair<std::string, std::string>> out;
  auto keep = [&](const char* name, const std::optional<std::string>& word) {
    if (word) out.emplace_back(name, *word);
  };
  keep("scenario", w.scenarios);
  keep("scenarios", w.scenarioFolder);
  keep("language", w.languages);
  keep("os", w.settings.os);
  keep("device", w.device);
  keep("scale", w.scale);
  keep("locale", w.settings.locale);
  keep("time-zone", w.settings.timeZone);
  keep("now", w.settings.now);
  keep("hour-cycle", w.settings.hourCycle);
  keep("resources", w.resources);
  keep("container", w.container);
  if (w.pseudo) out.emplace_back("pseudo", "true");
  return out;
}

// "snapshot record|verify DIR": the snapshot tool, not a widget's snapshot entry.
Result<Done> readSnapshot(const Words& w, HostOptions& o) {
  const char* verb = o.command == Command::snapshotRecord ? "snapshot record" : "snapshot verify";
  if (!w.snapshotFolder || w.snapshotFolder->empty())
    return Failure::usage(std::string(verb) + ": give the snapshots' folder");
  o.snapshot.folder = *w.snapshotFolder;
  o.snapshot.matrixWords = matrixWords(w);
  if (o.command == Command::snapshotRecord) {
    if (w.update || w.output) return Failure::usage("snapshot record: takes no --update or -o");
    return Done{};
  }
  if (!o.snapshot.matrixWords.empty())
    return Failure::usage("snapshot verify: draws the cells its manifest names; --" +
                          o.snapshot.matrixWords.front().first + " is for snapshot record");
  if (w.output) o.snapshot.report = o.output;
  o.snapshot.update = w.update;
  return Done{};
}

// CLI11's own message, or ours where it says less than we know.
std::string parseErrorMessage(const CLI::ParseError& e, const CLI::App& app,
                              const std::vector<std::string>& args) {
  if (app.get_subcommands().empty()) {
    // The first word that is not an option is what the user meant as the command.
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (args[i].rfind("-", 0) != 0)
        return "unknown command '" + args[i] + "' (commands: " + kCommands + "; see --help)";
      if (args[i].find('=') == std::string::npos && args[i] != "--help" && args[i] != "-h") ++i;
    }
    if (dynamic_cast<const CLI::RequiredError*>(&e))
      return std::string("no command given (commands: ") + kCommands + "; see --help)";
  }
  return e.what();
}

}  // namespace

Result<CommandLine> parseCommandLine(const std::vector<std::string>& args) {
  Words w;
  CLI::App app{
      "Drives the Tamsa widget extension the way the phone's widget host does.\n"
      "Exit status: 0 done, 1 the job could not be done (an output cannot be written, "
      "nothing to open), 2 a usage error.",
      "tamsa-widgets"};
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.set_version_flag("--version", programVersion());
  app.require_subcommand(1);
  app.allow_extras();
  addDeviceOptions(app, w);

  auto command = [&](const char* name, const char* help, const char* kindHelp) {
    auto* sub = app.add_subcommand(name, help);
    if (kindHelp) sub->add_option("KIND", w.kind, kindHelp)->required();
    sub->fallthrough();
    sub->allow_extras();
    return sub;
  };
  const char* widgetKind = "Widget kind: TamsaWidget or TamsaAddTransactionWidget";
  command("placeholder", "Print the placeholder entry of a widget", widgetKind);
  auto* snapshot = command(
      "snapshot",
      "Print the snapshot entry of a widget; or `snapshot record DIR` draws the matrix (as "
      "gallery does) into DIR with a manifest, and `snapshot verify DIR` draws it afresh and "
      "says what changed (exit 1), by meaning first and by pixels second",
      "Widget kind, or record or verify");
  snapshot->add_flag("--preview", w.preview, "Ask as the widget gallery does");
  snapshot->add_option("DIR", w.snapshotFolder, "record, verify: the snapshots' folder");
  snapshot->add_option("-o,--output", w.output, "verify: write report.html and report.json here");
  snapshot->add_flag("--update", w.update,
                     "verify: re-record the cells that changed, came or went");
  addLookOptions(snapshot, w);
  snapshot->add_option("--scenario", w.scenarios, "record: named states (default all)");
  snapshot->add_option("--scenarios", w.scenarioFolder, "record: folder of scenario files");
  snapshot->add_option("--jobs", w.jobs, "Cells drawn at once (default: one per core)");
  snapshot->add_flag("--pseudo", w.pseudo, "record: also the pseudo-languages en-XA, en-XL, ar-XB");
  command("timeline", "Print the timeline of a widget", widgetKind);

  auto* render = command("render", "Draw a widget or the control to a picture",
                         "Widget kind, or the control's kind");
  render->add_option("-o,--output", w.output, "Picture file: .png, .svg or .pdf")->required();
  render->add_option("--layout", w.layout, "Also write the layout report (JSON) to this file");
  render->add_option("--family", w.family,
                     "Widget family: small or medium (required for a widget)");
  render->add_option("--entry", w.entry,
                     "Entry drawn: timeline (its first entry; default), snapshot, preview or "
                     "placeholder");
  render->add_option("--appearance", w.appearance, "light or dark (default light)");
  addLookOptions(render, w);

  command("tap", "Print the link a tap on the widget opens (none: exit 1)", widgetKind)
      ->add_option("--family", w.family,
                   "Widget family: small or medium (default: the first "
                   "offered)");
  command("widgets", "List what the bundle declares on the imitated system", nullptr);
  command("perform", "Run the control's intent; print the URL it opens", "Control kind");

  auto* gallery = command(
      "gallery",
      "Draw every widget in every family, appearance and language into a folder, with contact "
      "sheets, an index page and findings: every text shrunk, cut or with missing glyphs, and "
      "every layout overflowing its margins",
      nullptr);
  gallery
      ->add_option("-o,--output", w.output,
                   "Folder for the pictures (new, empty, or an "
                   "earlier gallery, which is replaced)")
      ->required();
  gallery->add_flag(
      "--pseudo", w.pseudo,
      "Also draw the pseudo-languages en-XA (accented, longer), en-XL (twice as long) "
      "and ar-XB (right to left)");
  addLookOptions(gallery, w);
  gallery->add_option("--scenario", w.scenarios,
                      "Draw these named states of the app (comma list, or all) instead of the "
                      "container, each into a folder of its own");
  gallery->add_option("--scenarios", w.scenarioFolder,
                      "Folder of scenario files <name>.json (default: the shipped scenarios)");
  gallery->add_option("--shard", w.shard,
                      "Draw only the K-th of N stable parts of the cells (K/N), to spread a "
                      "large matrix over machines");
  gallery->add_option("--jobs", w.jobs, "Cells drawn at once (default: one per core)");
  gallery->add_option("--merge", w.merge, "Join these shard galleries into the -o folder")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->expected(1, -1);

  auto* store = command(
      "store", "Show or change the app group's store, written as the host app writes it", nullptr);
  store->add_option("ACTION", w.storeAction, "show, set, delete or import")->required();
  store
      ->add_option("ARGS", w.storeItems,
                   "set: KEY=VALUE (amounts as reals, other keys as text) or KEY:=JSON; delete: "
                   "KEY; import: FILE.json or -")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  store->add_flag("--force", w.force, "Replace a suite that does not parse");

  command("lint",
          "Check every string table of the bundle against the development language (en) and the "
          "keys the extension uses; one line per problem, FILE:LINE: problem (exit 1 when any)",
          nullptr)
      ->add_flag("--json", w.json, "Print the problems as JSON");

  auto* serve = command("serve",
                        "Serve a live preview of the home screen in the browser, following the "
                        "container and the string tables as they change",
                        nullptr);
  serve->add_option("--port", w.port, "TCP port (default 8765; 0 takes a free one)");
  serve->add_option("--listen", w.listen,
                    "Address to listen on (default 127.0.0.1: this machine only)");
  addLookOptions(serve, w);

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
    return Failure::usage(parseErrorMessage(e, app, args));
  }

  HostOptions o;
  CLI::App* chosen = app.get_subcommands().front();
  std::vector<std::string> extra = app.remaining();
  for (auto* sub : app.get_subcommands()) {
    auto more = sub->remaining();
    extra.insert(extra.end(), more.begin(), more.end());
  }
  if (!extra.empty()) {
    std::string words;
    for (const auto& e : extra) words += (words.empty() ? "" : " ") + e;
    return Failure::usage("unexpected argument" + std::string(extra.size() > 1 ? "s" : "") + ": " +
                          words);
  }
  o.command = oneOf("command", chosen->get_name(), kCommandNames).value();
  if (o.command == Command::snapshot && (w.kind == "record" || w.kind == "verify"))
    o.command = w.kind == "record" ? Command::snapshotRecord : Command::snapshotVerify;
  else if (w.snapshotFolder || w.update || (o.command == Command::snapshot && w.output))
    return Failure::usage("snapshot: a folder, -o and --update go with snapshot record or verify");
  o.kind = w.kind;
  o.preview = w.preview;
  o.json = w.json;
  if (auto r = readDevice(w, o.command, o); !r) return r.failure();
  if (auto r = readGallery(w, o); !r) return r.failure();
  if (auto r = readDrawing(w, o.drawing); !r) return r.failure();
  if (auto r = readFiles(w, o); !r) return r.failure();
  if (o.command == Command::store)
    if (auto r = readStore(w, o.store); !r) return r.failure();
  if (auto r = readServe(w, o.serve); !r) return r.failure();
  if (o.command == Command::snapshotRecord || o.command == Command::snapshotVerify)
    if (auto r = readSnapshot(w, o); !r) return r.failure();
  return CommandLine{o, ""};
}

Result<std::optional<os::SystemVersion>> systemVersionFromWord(const std::string& word,
                                                               const std::string& prefix) {
  auto version = os::SystemVersion::parse(word);
  if (!version && word != "unknown")
    return Failure::usage(prefix + "os: '" + word +
                          "' is not a system version (accepted: 17, 17.4, 17.4.1, unknown)");
  return version;
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
  return setOneOf((prefix + "hour-cycle").c_str(), w.hourCycle, kHourCycles, d.hourCycle);
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
