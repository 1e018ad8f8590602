// Findings where tools already look: SARIF 2.1.0, which code-review tools show on the line that
// caused each result, and "FILE:LINE: severity: message" lines for terminals and editors.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/findings/Findings.h"

namespace host {

struct SarifRule {
  std::string id, description;
  Severity level = Severity::warning;
};

struct SarifResult {
  std::string ruleId;
  Severity level = Severity::warning;
  std::string message;
  std::optional<std::string> file{};  // a path as the user gave it, relative or absolute
  std::optional<int> line{};
  std::string fingerprint{};              // stable across runs: what the result is about, not where
  std::optional<std::string> accepted{};  // a baseline's reason; nothing: new or no baseline
  bool compared = false;                  // whether a baseline was given at all
};

// The log of one run of this program with its rules and results.
std::string sarifLog(const std::vector<SarifRule>& rules, const std::vector<SarifResult>& results);

// The rules the gallery's findings follow, and its findings as results; a finding's table is
// `resources` joined with its file.
std::vector<SarifRule> findingRules();
std::vector<SarifResult> findingResults(const std::vector<Finding>& findings,
                                        const std::string& resources, bool compared);

// "resources/de.lproj/Localizable.strings:12: error: …", or "error: …" without a file: the one
// form of a located line, for the gallery's findings and lint's problems alike.
std::string locatedLine(const std::optional<std::string>& file, std::optional<int> line,
                        Severity level, const std::string& message);
std::string findingLine(const SarifResult& result);

}  // namespace host
