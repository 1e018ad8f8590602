#include "host/lint/LintSarif.h"

#include <filesystem>

namespace host {

Severity lintSeverity(LintKind kind) {
  switch (kind) {
    case LintKind::unreadable:
    case LintKind::missingKey:
    case LintKind::placeholders:
    case LintKind::emptyValue:
      return Severity::error;
    case LintKind::untranslated:
    case LintKind::duplicateKey:
      return Severity::warning;
    case LintKind::unusedKey:
      return Severity::note;
  }
  return Severity::error;
}

std::vector<SarifRule> lintRules() {
  auto rule = [](LintKind kind, const char* description) {
    return SarifRule{std::string(kLintKindNames.nameOf(kind)), description, lintSeverity(kind)};
  };
  return {
      rule(LintKind::unreadable, "A string table cannot be read"),
      rule(LintKind::missingKey, "A key the widgets use is missing from a table"),
      rule(LintKind::unusedKey, "A key nothing uses"),
      rule(LintKind::placeholders, "Format conversions differ from what the key's use allows"),
      rule(LintKind::emptyValue, "A text that shows nothing"),
      rule(LintKind::untranslated, "The same text as English where a translation is due"),
      rule(LintKind::duplicateKey, "A key defined again; the last definition is used"),
  };
}

std::vector<SarifResult> lintResults(const LintReport& report, const std::string& resources) {
  std::vector<SarifResult> out;
  for (const LintProblem& p : report.problems) {
    SarifResult r{std::string(kLintKindNames.nameOf(p.kind)), lintSeverity(p.kind), p.message};
    r.file = (std::filesystem::path(resources) / p.file).string();
    r.line = p.line;
    r.fingerprint = r.ruleId + "\n" + p.file + "\n" + p.key;
    out.push_back(std::move(r));
  }
  return out;
}

}  // namespace host
