#include "host/findings/Sarif.h"

#include <filesystem>

#include "host/core/CommandLine.h"
#include "host/core/HtmlText.h"

namespace host {
namespace {

using nlohmann::ordered_json;

// A path as a URI reference: relative paths stay relative (to where the tool runs), absolute
// ones become file URIs.
std::string uriOf(const std::string& path) {
  return (path.starts_with('/') ? "file://" : "") + urlPath(path);
}

std::string level(Severity s) {
  return std::string(kSeverityNames.nameOf(s));
}

}  // namespace

std::string sarifLog(const std::vector<SarifRule>& rules, const std::vector<SarifResult>& results) {
  ordered_json ruleList = ordered_json::array();
  for (const auto& r : rules)
    ruleList.push_back({{"id", r.id},
                        {"shortDescription", {{"text", r.description}}},
                        {"defaultConfiguration", {{"level", level(r.level)}}}});
  ordered_json resultList = ordered_json::array();
  for (const auto& r : results) {
    ordered_json j{{"ruleId", r.ruleId}};
    for (std::size_t i = 0; i < rules.size(); ++i)
      if (rules[i].id == r.ruleId) j["ruleIndex"] = i;
    j["level"] = level(r.level);
    j["message"] = {{"text", r.message}};
    if (r.file) {
      ordered_json where{{"artifactLocation", {{"uri", uriOf(*r.file)}}}};
      if (r.line) where["region"] = {{"startLine", std::max(1, *r.line)}};
      j["locations"] = ordered_json::array({{{"physicalLocation", where}}});
    }
    j["partialFingerprints"] = {{"cause/v1", r.fingerprint}};
    if (r.compared) j["baselineState"] = r.accepted ? "unchanged" : "new";
    if (r.accepted)
      j["suppressions"] =
          ordered_json::array({{{"kind", "external"}, {"justification", *r.accepted}}});
    resultList.push_back(std::move(j));
  }
  std::string version = programVersion();
  version = version.substr(version.rfind(' ') + 1);
  ordered_json log{{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
                   {"version", "2.1.0"},
                   {"runs", ordered_json::array({{{"tool",
                                                   {{"driver",
                                                     {{"name", "tamsa-widgets"},
                                                      {"version", version},
                                                      {"rules", std::move(ruleList)}}}}},
                                                  {"results", std::move(resultList)}}})}};
  return log.dump(2) + "\n";
}

std::vector<SarifRule> findingRules() {
  auto rule = [](FindingRule r, const char* description) {
    return SarifRule{std::string(kFindingRuleNames.nameOf(r)), description, severityOf(r)};
  };
  return {
      rule(FindingRule::missingGlyphs, "A character is drawn as a missing-glyph box"),
      rule(FindingRule::cut, "A text from a string table is cut where the English text fits"),
      rule(FindingRule::clipped, "A text or an image is cut off by the widget's edge"),
      rule(FindingRule::cutEverywhere, "A text is cut in a language and in English too"),
      rule(FindingRule::shrunkToFloor, "A text shrinks to the smallest size it may take"),
      rule(FindingRule::lowContrast, "A text's contrast is below the accessibility guidelines"),
      rule(FindingRule::shrunk, "A text is drawn smaller, within the range it allows"),
      rule(FindingRule::typedTextCut, "A text the app's user gave is cut, as designed"),
      rule(FindingRule::pastMargins, "Content reaches past the margins, inside the widget"),
  };
}

std::vector<SarifResult> findingResults(const std::vector<Finding>& findings,
                                        const std::string& resources, bool compared) {
  std::vector<SarifResult> out;
  for (const auto& f : findings) {
    SarifResult r{std::string(kFindingRuleNames.nameOf(f.cause.rule)), f.severity, f.message};
    if (f.file) r.file = (std::filesystem::path(resources) / *f.file).string();
    r.line = f.line;
    r.fingerprint = f.cause.toJson().dump();
    r.accepted = f.accepted;
    r.compared = compared;
    out.push_back(std::move(r));
  }
  return out;
}

std::string locatedLine(const std::optional<std::string>& file, std::optional<int> line,
                        Severity severity, const std::string& message) {
  std::string where;
  if (file) where = *file + ":" + (line ? std::to_string(*line) + ":" : "") + " ";
  return where + level(severity) + ": " + message;
}

std::string findingLine(const SarifResult& r) {
  return locatedLine(r.file, r.line, r.level, r.message);
}

}  // namespace host
