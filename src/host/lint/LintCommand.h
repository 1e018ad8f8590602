// lint: the bundle's string tables checked for what a translator must fix, one line per problem
// ("FILE:LINE: problem", or JSON with --json). Exit status 0 when every table is clean, 3 when
// there is a problem. With --contrast it prints the palette's contrast table instead (exit 0).
#pragma once

#include <vector>

#include "host/core/CommandLine.h"
#include "host/core/HostSession.h"
#include "host/lint/TableLint.h"

namespace host {

struct LintOptions {
  bool json = false;      // JSON instead of lines
  bool contrast = false;  // the palette's contrast table instead of the tables' problems
};

std::vector<CommandRow> lintCommands();

Outcome runLintCommand(const HostSession& session, const LintOptions& options);

// The report as the command prints it: lines of text, or JSON.
std::string lintText(const LintReport& report);
std::string lintJson(const LintReport& report);

}  // namespace host
