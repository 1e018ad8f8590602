// The lint's problems as findings tools read: a severity for each kind, "FILE:LINE: severity:
// message" lines, and SARIF results at each table's line.
#pragma once

#include <string>
#include <vector>

#include "host/findings/Sarif.h"
#include "host/lint/TableLint.h"

namespace host {

// An error shows the user something wrong (a missing or empty text, a format that does not match
// its use, a table that cannot be read); a warning may be intended (a text left in English, a key
// defined twice); an unused key is a note.
Severity lintSeverity(LintKind kind);

std::vector<SarifRule> lintRules();
// Each problem at its table under `resources`.
std::vector<SarifResult> lintResults(const LintReport& report, const std::string& resources);

}  // namespace host
