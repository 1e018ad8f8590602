#include "host/lint/LintCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>

#include "drawing/FontSet.h"
#include "host/core/OutputFiles.h"
#include "host/findings/Contrast.h"
#include "host/lint/LintSarif.h"
#include "host/scenarios/Scenario.h"

namespace host {

std::string lintText(const LintReport& report) {
  std::string out;
  for (const LintProblem& p : report.problems) {
    out += locatedLine(p.file, p.line, lintSeverity(p.kind), p.message) + "\n";
  }
  return out;
}

std::string lintJson(const LintReport& report) {
  nlohmann::ordered_json problems = nlohmann::ordered_json::array();
  for (const LintProblem& p : report.problems) {
    nlohmann::ordered_json j{{"file", p.file}, {"line", p.line}};
    j["key"] = p.key.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(p.key);
    j["kind"] = std::string(kLintKindNames.nameOf(p.kind));
    j["severity"] = std::string(kSeverityNames.nameOf(lintSeverity(p.kind)));
    j["message"] = p.message;
    problems.push_back(std::move(j));
  }
  nlohmann::ordered_json out{{"tables", report.tables}, {"problems", std::move(problems)}};
  return out.dump(2) + "\n";
}

std::vector<CommandRow> lintCommands() {
  auto declare = [](CLI::App& sub, const DeviceWords& global) {
    auto o = std::make_shared<LintOptions>();
    struct Words {
      bool room = false, contrast = false;
      std::optional<std::string> sarif, scenarios;
    };
    auto w = std::make_shared<Words>();
    auto look = std::make_shared<LookWords>();
    CLI::Option* json = sub.add_flag("--json", o->json, "Print the problems as JSON");
    sub.add_option("--sarif", w->sarif,
                   "Also write the tables' problems as a SARIF 2.1.0 log, each at its line");
    CLI::Option* room =
        sub.add_flag("--room", w->room,
                     "Lay every widget out in every language and show the room each text has: "
                     "the width offered, English's, each translation's, and whether it shrinks or "
                     "is cut");
    sub.add_option("--device", look->device,
                   "With --room: phone whose home screen is imitated (default iphone15)");
    sub.add_option("--scenario", w->scenarios,
                   "With --room: lay out these named states of the app (comma list, or all) "
                   "instead of the container, for the texts only they show");
    sub.add_flag("--contrast", w->contrast,
                 "Print the contrast of the palette's text colours against the widget background "
                 "in light and dark, as a Markdown table, and check no table")
        ->excludes(json)
        ->excludes(room);
    return [o, w, look, &global]() -> Result<ReadOptions<LintOptions>> {
      LintOptions options = *o;
      options.mode = w->room ? LintMode::room : w->contrast ? LintMode::contrast : LintMode::tables;
      if ((look->device || w->scenarios) && options.mode != LintMode::room)
        return Failure::usage("--device and --scenario: only with --room");
      if (w->scenarios) options.scenarios = splitList(*w->scenarios);
      if (w->sarif) {
        if (options.mode != LintMode::tables)
          return Failure::usage(
              "--sarif: the tables' problems only (not with --room or --contrast)");
        if (w->sarif->empty()) return Failure::usage("--sarif: an empty path names no file");
        options.sarif = *w->sarif;
      }
      auto l = readLookOptions(*look);
      if (!l) return l.failure();
      options.look = *l;
      return withDevice(global, std::move(options));
    };
  };
  return {commandRow<LintOptions>(
      "lint",
      "Check every string table of the bundle against the development language (en) and the "
      "keys the extension uses; one line per problem, FILE:LINE: problem (exit 3 when any); "
      "--room: the room each text has in every widget and language",
      declare, runLintCommand)};
}

namespace {

Outcome runRoom(const HostSession& s, const LintOptions& o) {
  if (auto fonts = drawing::pinnedFonts(); !fonts) return fonts.failure();
  TextRoomInput input{s.device, s.body,
                      s.asked.languages ? *s.asked.languages : s.device.mainBundle.localizations(),
                      o.look.device, o.look.scale};
  const drawing::PangoTextMeasurer measurer(input.scale);
  // Each named state of the app shows texts the container may not (a custom period, a count).
  std::vector<device::Device> states;
  if (o.scenarios) {
    auto scenarios = loadScenarios(*s.files, s.paths.scenarios, *o.scenarios);
    if (!scenarios) return scenarios.failure();
    for (const auto& scenario : *scenarios)
      states.push_back(scenarioDevice(s.device, scenario, s.asked));
  } else {
    states.push_back(s.device);
  }
  std::vector<RoomReport> reports;
  for (auto& state : states) {
    input.device = std::move(state);
    auto one = measureTextRoom(input, measurer);
    if (!one) return one.failure();
    reports.push_back(std::move(*one));
  }
  auto report = std::optional<RoomReport>(mergeRoomReports(std::move(reports)));
  if (auto r = writeStandardOutput(o.json ? roomJson(*report) : roomText(*report)); !r) return r;
  if (!report->hasErrors()) return Done{};
  std::size_t errors =
      std::count_if(report->problems.begin(), report->problems.end(),
                    [](const RoomProblem& p) { return p.severity == Severity::error; });
  return Failure::problems(std::to_string(errors) + " text" + (errors == 1 ? "" : "s") +
                           " cut or not drawable in the widgets");
}

}  // namespace

Outcome runLintCommand(const HostSession& s, const LintOptions& o) {
  if (o.mode == LintMode::contrast) return writeStandardOutput(paletteContrastTable());
  if (o.mode == LintMode::room) return runRoom(s, o);
  const std::string& resources = s.device.mainBundle.bundlePath();
  LintReport report = lintStringTables(*s.device.fileSystem, resources);
  if (auto r = writeStandardOutput(o.json ? lintJson(report) : lintText(report)); !r) return r;
  if (o.sarif)
    if (auto r = writeFileAtomically(*s.files, *o.sarif,
                                     sarifLog(lintRules(), lintResults(report, resources)));
        !r)
      return r;
  if (report.problems.empty()) return Done{};
  return Failure::problems(std::to_string(report.problems.size()) + " problem" +
                           (report.problems.size() == 1 ? "" : "s") + " in the string tables of " +
                           resources);
}

}  // namespace host
