// lint: the bundle's string tables checked for what a translator must fix, one line per problem
// ("FILE:LINE: problem", or JSON with --json). Exit status 0 when every table is clean, 1 when
// there is a problem.
#pragma once

#include "host/core/HostSession.h"
#include "host/lint/TableLint.h"

namespace host {

Outcome runLintCommand(const HostSession& session);

// The report as the command prints it: lines of text, or JSON.
std::string lintText(const LintReport& report);
std::string lintJson(const LintReport& report);

}  // namespace host
