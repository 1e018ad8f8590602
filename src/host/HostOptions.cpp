#include "host/HostOptions.h"

#include <CLI/CLI.hpp>
#include <iostream>

namespace host {
namespace {

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

  auto* placeholder = app.add_subcommand("placeholder", "Print the placeholder entry of KIND");
  auto* snapshot = app.add_subcommand("snapshot", "Print the snapshot entry of KIND");
  auto* timeline = app.add_subcommand("timeline", "Print the timeline of KIND");
  for (auto* sub : {placeholder, snapshot, timeline}) {
    sub->add_option("KIND", o.kind, "Widget kind, such as TamsaWidget")->required();
    sub->fallthrough();
  }
  snapshot->add_flag("--preview", o.preview, "Ask as the widget gallery does");

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
    std::cerr << "tamsa-widgets: " << message
              << " (commands: placeholder, snapshot, timeline; see --help)\n";
    return 2;
  }
  for (auto* sub : app.get_subcommands()) o.command = sub->get_name();
  return o;
}

}  // namespace host
