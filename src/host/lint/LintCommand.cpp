#include "host/lint/LintCommand.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>

#include "host/core/OutputFiles.h"
#include "host/findings/Contrast.h"

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
    CLI::Option* json = sub.add_flag("--json", o->json, "Print the problems as JSON");
    sub.add_flag("--contrast", o->contrast,
                 "Print the contrast of the palette's text colours against the widget background "
                 "in light and dark, as a Markdown table, and check no table")
        ->excludes(json);
    return [o, &global] { return withDevice(global, *o); };
  };
  return {commandRow<LintOptions>(
      "lint",
      "Check every string table of the bundle against the development language (en) and the "
      "keys the extension uses; one line per problem, FILE:LINE: problem (exit 3 when any)",
      declare, runLintCommand)};
}

Outcome runLintCommand(const HostSession& s, const LintOptions& o) {
  if (o.contrast) return writeStandardOutput(paletteContrastTable());
  const std::string& resources = s.device.mainBundle.bundlePath();
  LintReport report = lintStringTables(*s.device.fileSystem, resources);
  if (auto r = writeStandardOutput(o.json ? lintJson(report) : lintText(report)); !r) return r;
  if (report.problems.empty()) return Done{};
  return Failure::problems(std::to_string(report.problems.size()) + " problem" +
                           (report.problems.size() == 1 ? "" : "s") + " in the string tables of " +
                           resources);
}

}  // namespace host
