#include "host/HostOptions.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <sstream>

namespace host {
namespace {

const char* kCommands = "placeholder, snapshot, timeline, render, tap, widgets, perform, gallery";

void addGlobalOptions(CLI::App& app, HostOptions& o) {
  app.add_option("--container", o.container,
                 "App-group container directory (default: $TAMSA_APP_GROUP_CONTAINER, else the "
                 "sample container shipped in the repository)");
  app.add_option("--resources", o.resources,
                 "Bundle resources with <language>.lproj string tables (default: the shipped "
                 "tables)");
  app.add_option("--language", o.languages,
                 "Preferred languages, most preferred first, comma separated (default: from "
                 "LANGUAGE, LC_ALL, LC_MESSAGES, LANG)");
  app.add_option("--locale", o.locale,
                 "Device locale, such as en_US or de_DE (default: from LANG)");
  app.add_option("--time-zone", o.timeZone, "Device time zone, such as Europe/Berlin");
  app.add_option("--now", o.now, "Fixed time for the clock, ISO 8601 (2026-01-01T09:00:00Z)");
  app.add_option("--os", o.os, "System version the host imitates (default 18.0; 'unknown')");
  app.add_option("--hour-cycle", o.hourCycle, "Device's 24-hour setting: 12 or 24")
      ->check(CLI::IsMember({"12", "24"}));
}

void addDrawingOptions(CLI::App* sub, HostOptions& o, bool needsFamily) {
  auto* family = sub->add_option("--family", o.family, "Widget family: small or medium");
  if (needsFamily) family->required();
  family->check(CLI::IsMember({"small", "medium", "large", "extraLarge", "accessoryCircular",
                               "accessoryRectangular", "accessoryInline"}));
  sub->add_option("--appearance", o.appearance, "light or dark (default light)")
      ->check(CLI::IsMember({"light", "dark"}));
  sub->add_option("--device", o.deviceName,
                  "Phone whose home screen is imitated (default iphone15)");
  sub->add_option("--scale", o.scale, "Pixels per point for PNG pictures, 1 to 3 (default 2)")
      ->check(CLI::Range(1.0, 3.0));
}

// The first word that is neither an option nor an option's value: what the user meant as command.
std::string firstWord(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("-", 0) != 0) return arg;
    if (arg.find('=') == std::string::npos && arg != "--preview" && arg != "--help" && arg != "-h")
      ++i;  // its value
  }
  return "";
}

}  // namespace

ParsedCommandLine parseCommandLine(int argc, char** argv) {
  HostOptions o;
  CLI::App app{"Drives the Tamsa widget extension the way the phone's widget host does.",
               "tamsa-widgets"};
  app.require_subcommand(1);
  addGlobalOptions(app, o);

  auto kindOf = [&](CLI::App* sub, const char* help) {
    sub->add_option("KIND", o.kind, help)->required();
    sub->fallthrough();
    return sub;
  };
  const char* widgetKind = "Widget kind, such as TamsaWidget";
  kindOf(app.add_subcommand("placeholder", "Print the placeholder entry of a widget"), widgetKind);
  auto* snapshot =
      kindOf(app.add_subcommand("snapshot", "Print the snapshot entry of a widget"), widgetKind);
  snapshot->add_flag("--preview", o.preview, "Ask as the widget gallery does");
  kindOf(app.add_subcommand("timeline", "Print the timeline of a widget"), widgetKind);

  auto* render = kindOf(app.add_subcommand("render", "Draw a widget or control to a picture"),
                        "Widget or control kind");
  render->add_option("-o,--output", o.output, "Picture file: .png, .svg or .pdf")->required();
  render->add_option("--layout", o.layout, "Also write the layout report (JSON) here");
  render
      ->add_option("--entry", o.entry,
                   "Entry drawn: timeline (first entry), snapshot, preview or placeholder")
      ->check(CLI::IsMember({"timeline", "snapshot", "preview", "placeholder"}));
  addDrawingOptions(render, o, false);

  auto* tap =
      kindOf(app.add_subcommand("tap", "Print the link a tap on the widget opens"), widgetKind);
  tap->add_option("--family", o.family, "Widget family (default: the first offered)");

  app.add_subcommand("widgets", "List what the bundle declares on the imitated system")
      ->fallthrough();
  kindOf(app.add_subcommand("perform", "Run a control's intent; print the URL it opens"),
         "Control kind");

  auto* gallery = app.add_subcommand(
      "gallery",
      "Draw every widget in every family, appearance and language into a directory, with an "
      "index page and a report of every shrunk, cut or unrenderable text");
  gallery->add_option("-o,--output", o.output, "Directory for the pictures")->required();
  gallery->add_option("--device", o.deviceName, "Phone imitated (default iphone15)");
  gallery->add_option("--scale", o.scale, "Pixels per point (default 2)")
      ->check(CLI::Range(1.0, 3.0));
  gallery->fallthrough();

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::string message = e.what();
    if (app.get_subcommands().empty()) {
      std::string word = firstWord(argc, argv);
      message = word.empty() ? "no command given" : "unknown command '" + word + "'";
    }
    std::cerr << "tamsa-widgets: " << message << " (commands: " << kCommands << "; see --help)\n";
    return 2;
  }
  for (auto* sub : app.get_subcommands()) o.command = sub->get_name();
  return o;
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

}  // namespace host
