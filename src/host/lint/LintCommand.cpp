#include "host/lint/LintCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>

#include "drawing/FontSet.h"
#include "host/core/OutputFiles.h"

namespace host {

std::string lintText(const LintReport& report) {
  std::string out;
  for (const LintProblem& p : report.problems) {
    out += p.file + ":" + std::to_string(p.line) + ": " + p.message + "\n";
  }
  return out;
}

std::string lintJson(const LintReport& report) {
  nlohmann::ordered_json problems = nlohmann::ordered_json::array();
  for (const LintProblem& p : report.problems) {
    nlohmann::ordered_json j{{"file", p.file}, {"line", p.line}};
    j["key"] = p.key.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(p.key);
    j["kind"] = std::string(kLintKindNames.nameOf(p.kind));
    j["message"] = p.message;
    problems.push_back(std::move(j));
  }
  nlohmann::ordered_json out{{"tables", report.tables}, {"problems", std::move(problems)}};
  return out.dump(2) + "\n";
}

std::vector<CommandRow> lintCommands() {
  auto declare = [](CLI::App& sub, const DeviceWords& global) {
    auto o = std::make_shared<LintOptions>();
    auto look = std::make_shared<LookWords>();
    sub.add_flag("--json", o->json, "Print the problems as JSON");
    sub.add_flag("--room", o->room,
                 "Lay every widget out in every language and show the room each text has: the "
                 "width offered, English's, each translation's, and whether it shrinks or is cut");
    sub.add_option("--device", look->device,
                   "With --room: phone whose home screen is imitated (default iphone15)");
    return [o, look, &global]() -> Result<ReadOptions<LintOptions>> {
      if (look->device && !o->room) return Failure::usage("--device: only with --room");
      auto l = readLookOptions(*look);
      if (!l) return l.failure();
      LintOptions options = *o;
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
  auto report = measureTextRoom(input, measurer);
  if (!report) return report.failure();
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
  if (o.room) return runRoom(s, o);
  const std::string& resources = s.device.mainBundle.bundlePath();
  LintReport report = lintStringTables(*s.device.fileSystem, resources);
  if (auto r = writeStandardOutput(o.json ? lintJson(report) : lintText(report)); !r) return r;
  if (report.problems.empty()) return Done{};
  return Failure::problems(std::to_string(report.problems.size()) + " problem" +
                           (report.problems.size() == 1 ? "" : "s") + " in the string tables of " +
                           resources);
}

}  // namespace host
