// lint: the bundle's string tables checked for what a translator must fix, one line per problem
// ("FILE:LINE: problem", or JSON with --json). Exit status 0 when every table is clean, 3 when
// there is a problem. With --room: how much room each text has where the widgets draw it, and
// what each language does with it (exit 3 when a translation is cut or cannot be drawn).
#pragma once

#include <vector>

#include "host/core/CommandLine.h"
#include "host/core/HostSession.h"
#include "host/lint/TableLint.h"
#include "host/lint/TextRoom.h"

namespace host {

struct LintOptions {
  bool json = false;  // JSON instead of lines
  bool room = false;  // the texts' room instead of the tables' problems
  LookOptions look;   // --room: the phone whose home screen lays the widgets out
};

std::vector<CommandRow> lintCommands();

Outcome runLintCommand(const HostSession& session, const LintOptions& options);

// The report as the command prints it: lines of text, or JSON.
std::string lintText(const LintReport& report);
std::string lintJson(const LintReport& report);

}  // namespace host
