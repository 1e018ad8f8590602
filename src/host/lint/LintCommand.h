// lint: the bundle's string tables checked for what a translator must fix, one line per problem
// ("FILE:LINE: severity: problem", or JSON with --json). Exit status 0 when every table is clean, 3
// when there is a problem (`--sarif FILE`: also as a SARIF log). With --room: how much room each
// text has where the widgets draw it, and what each language does with it (exit 3 when a
// translation is cut or cannot be drawn). With --contrast: the palette's contrast table (exit 0).
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "host/core/CommandLine.h"
#include "host/core/HostSession.h"
#include "host/lint/TableLint.h"
#include "host/lint/TextRoom.h"

namespace host {

enum class LintMode {
  tables,    // the string tables' problems
  room,      // the room each text has, and what each language does with it
  contrast,  // the palette's contrast table
};

struct LintOptions {
  LintMode mode = LintMode::tables;
  bool json = false;                           // JSON instead of lines
  std::optional<std::filesystem::path> sarif;  // tables: the problems as a SARIF log too
  LookOptions look;  // room: the phone whose home screen lays the widgets out
  std::optional<std::vector<std::string>> scenarios;  // room: named states, not the container
};

std::vector<CommandRow> lintCommands();

Outcome runLintCommand(const HostSession& session, const LintOptions& options);

// The report as the command prints it: lines of text, or JSON.
std::string lintText(const LintReport& report);
std::string lintJson(const LintReport& report);

}  // namespace host
