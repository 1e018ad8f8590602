#include "host/findings/Findings.h"

#include "host/findings/Contrast.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

namespace host {
namespace {

using nlohmann::ordered_json;

constexpr const char* kEnglish = "en";

std::string number(double value) {
  std::ostringstream out;
  out << std::round(value * 10) / 10;
  return out.str();
}

std::string points(double value) {
  return std::to_string(static_cast<int>(std::ceil(value))) + " pt";
}

std::string quoted(const std::string& text) {
  return "“" + text + "”";
}

// "TamsaWidget medium on iOS 17.0"
std::string layoutName(const FindingCause& c) {
  return c.widget + " " + c.family + (c.system.empty() ? "" : " on " + c.system);
}

// One picture's part in a finding, before grouping.
struct Occurrence {
  FindingCause cause;
  std::string string;  // the text, for the message
  std::optional<std::string> file;
  std::optional<int> line;
  double magnitude = 0;  // overflow in points, contrast shortfall, font size
  std::string detail;
};

void textOccurrences(const PictureFacts& p, const EnglishFit& english,
                     std::vector<Occurrence>& out) {
  for (const TextFinding& t : p.texts) {
    const std::string language = t.language.value_or(p.language);
    const bool fromTable = t.table.has_value() && t.key.has_value();
    auto occurrence = [&](FindingRule rule, double magnitude, std::string detail) {
      Occurrence o{{.rule = rule}, t.string,  std::nullopt,
                   std::nullopt,   magnitude, std::move(detail)};
      if (fromTable) {
        o.cause.table = *t.table;
        o.cause.key = *t.key;
        o.cause.language = language;
        o.file = t.table;
        o.line = t.line;
      } else {
        o.cause.widget = p.widget;
        o.cause.family = p.family;
      }
      out.push_back(std::move(o));
    };
    const std::string drawn = "drawn " + quoted(t.drawn) + " at " + number(t.fontSize) + " pt";
    if (t.missingGlyphs > 0)
      occurrence(FindingRule::missingGlyphs, t.missingGlyphs,
                 std::to_string(t.missingGlyphs) + " missing in " + quoted(t.string));
    if (t.truncated) {
      if (!fromTable) {
        occurrence(FindingRule::typedTextCut, 0, quoted(t.string) + " " + drawn);
        continue;
      }
      const bool english_ = language == kEnglish;
      const bool cutThere = english_ || english.cutInEnglish(p, *t.key).value_or(false);
      occurrence(cutThere ? FindingRule::cutEverywhere : FindingRule::cut, 0, drawn);
    } else if (t.shrunk) {
      occurrence(t.atFloor() ? FindingRule::shrunkToFloor : FindingRule::shrunk, t.fontSize,
                 fromTable ? drawn : quoted(t.string) + " " + drawn);
    }
  }
}

std::vector<Occurrence> occurrences(const PictureFacts& p, const EnglishFit& english) {
  std::vector<Occurrence> out;
  textOccurrences(p, english, out);
  auto layout = [&](FindingRule rule, double overflow) {
    Occurrence o{{.rule = rule}, "", std::nullopt, std::nullopt, overflow, points(overflow)};
    o.cause.widget = p.widget;
    o.cause.family = p.family;
    o.cause.system = p.system;
    out.push_back(std::move(o));
  };
  if (p.edgeOverflow > kOverflowSlack)
    layout(FindingRule::clipped, p.edgeOverflow);
  else if (p.marginOverflow > kOverflowSlack)
    layout(FindingRule::pastMargins, p.marginOverflow);
  for (const ContrastShortfall& c : p.contrasts) {
    // The lowest ratio is the worst: kept negated, as the largest magnitude.
    Occurrence o{{.rule = FindingRule::lowContrast},
                 c.foregroundColor + " on " + c.backgroundColor,
                 std::nullopt,
                 std::nullopt,
                 -c.ratio,
                 formatRatio(c.ratio) + " (needs " + formatRatio(c.required) + "), " +
                     c.foregroundColor + " on " + c.backgroundColor + ": " + quoted(c.string)};
    o.cause.appearance = p.appearance;
    o.cause.foreground = c.foreground;
    o.cause.background = c.background;
    out.push_back(std::move(o));
  }
  // One finding for the pair, whichever look removes the colours.
  for (const ToneMerge& m : p.toneMerges) {
    Occurrence o{{.rule = FindingRule::colourOnly},
                 "",
                 std::nullopt,
                 std::nullopt,
                 0,
                 quoted(m.firstString) + " and " + quoted(m.secondString) + " in one tone"};
    o.cause.foreground = m.first;
    o.cause.alike = m.second;
    out.push_back(std::move(o));
  }
  return out;
}

// The finding's one line, from its cause and the worst of its pictures.
std::string message(const FindingCause& c, const std::string& string, double worst) {
  const std::string text = quoted(string) + " (" + c.key + ")";
  switch (c.rule) {
    case FindingRule::missingGlyphs:
      return c.key.empty() ? "a text the app's user gave in " + c.widget + " " + c.family +
                                 " has characters no font draws"
                           : text + " has characters no font draws in " + c.language;
    case FindingRule::cut:
      return text + " is cut in " + c.language + " where the English text fits";
    case FindingRule::cutEverywhere:
      return text + " is cut in " + c.language + (c.language == kEnglish ? "" : ", as in English");
    case FindingRule::shrunkToFloor:
      return c.key.empty() ? "texts the app's user gave in " + c.widget + " " + c.family +
                                 " shrink to the smallest size allowed"
                           : text + " shrinks to the smallest size allowed in " + c.language;
    case FindingRule::shrunk:
      return c.key.empty()
                 ? "texts the app's user gave in " + c.widget + " " + c.family +
                       " are drawn smaller, within the range allowed"
                 : text + " is drawn smaller in " + c.language + ", within the range allowed";
    case FindingRule::typedTextCut:
      return "texts the app's user gave are cut in " + c.widget + " " + c.family +
             ", as the design cuts them";
    case FindingRule::clipped:
      return layoutName(c) + ": content reaches up to " + points(worst) +
             " past the widget's edge and is cut off";
    case FindingRule::pastMargins:
      return layoutName(c) + ": content reaches up to " + points(worst) +
             " past the margins, inside the widget (centred, as the phone does)";
    case FindingRule::colourOnly:
      return c.foreground + " and " + c.alike +
             " texts differ only in colour: tinted and clear home screens draw both in one tone";
    case FindingRule::lowContrast:
      return c.foreground + " on " + c.background + " (" + string + ") in " + c.appearance +
             ": contrast as low as " + formatRatio(-worst) +
             ", below the 4.5:1 text needs (3:1 when large)";
  }
  return {};
}

}  // namespace

Severity severityOf(FindingRule rule) {
  switch (rule) {
    case FindingRule::missingGlyphs:
    case FindingRule::cut:
    case FindingRule::clipped:
      return Severity::error;
    case FindingRule::cutEverywhere:
    case FindingRule::shrunkToFloor:
    case FindingRule::lowContrast:
    case FindingRule::colourOnly:
      return Severity::warning;
    case FindingRule::shrunk:
    case FindingRule::typedTextCut:
    case FindingRule::pastMargins:
      return Severity::note;
  }
  return Severity::error;
}

ordered_json FindingCause::toJson() const {
  ordered_json j{{"rule", std::string(kFindingRuleNames.nameOf(rule))}};
  auto add = [&](const char* name, const std::string& value) {
    if (!value.empty()) j[name] = value;
  };
  add("table", table);
  add("key", key);
  add("language", language);
  add("widget", widget);
  add("family", family);
  add("system", system);
  add("appearance", appearance);
  add("foreground", foreground);
  add("background", background);
  add("alike", alike);
  return j;
}

Result<FindingCause> FindingCause::fromJson(const nlohmann::json& j) {
  if (!j.is_object()) return Failure::runtime("a finding's cause is not an object");
  auto text = [&](const char* name, std::string& into) -> bool {
    auto at = j.find(name);
    if (at == j.end()) return true;
    if (!at->is_string()) return false;
    into = at->get<std::string>();
    return true;
  };
  std::string rule;
  FindingCause c;
  if (!text("rule", rule) || !text("table", c.table) || !text("key", c.key) ||
      !text("language", c.language) || !text("widget", c.widget) || !text("family", c.family) ||
      !text("system", c.system) || !text("appearance", c.appearance) ||
      !text("foreground", c.foreground) || !text("background", c.background) ||
      !text("alike", c.alike))
    return Failure::runtime("a finding's cause has a field that is not a text");
  auto known = kFindingRuleNames.valueOf(rule);
  if (!known)
    return Failure::runtime("a finding's cause names no rule this program knows: '" + rule + "'");
  c.rule = *known;
  return c;
}

ordered_json Finding::toJson() const {
  ordered_json j{{"severity", std::string(kSeverityNames.nameOf(severity))},
                 {"rule", std::string(kFindingRuleNames.nameOf(cause.rule))},
                 {"status", accepted ? "accepted" : "new"}};
  if (accepted) j["reason"] = *accepted;
  j["message"] = message;
  if (file) j["file"] = *file;
  if (line) j["line"] = *line;
  j["cause"] = cause.toJson();
  j["count"] = pictures.size();
  ordered_json list = ordered_json::array();
  for (const auto& p : pictures) {
    ordered_json e{{"picture", p.picture}};
    if (!p.scenario.empty()) e["scenario"] = p.scenario;
    if (!p.system.empty()) e["system"] = p.system;
    e.update({{"language", p.language},
              {"widget", p.widget},
              {"family", p.family},
              {"appearance", p.appearance},
              {"detail", p.detail}});
    list.push_back(std::move(e));
  }
  j["pictures"] = std::move(list);
  return j;
}

std::string EnglishFit::place(const PictureFacts& p) {
  return p.scenario + "\n" + p.system + "\n" + p.widget + "\n" + p.family + "\n" + p.appearance;
}

void EnglishFit::learn(const PictureFacts& p) {
  if (p.language != kEnglish) return;
  const std::string where = place(p);
  places_.insert(where);
  for (const TextFinding& t : p.texts)
    if (t.truncated && t.key) cutKeys_.insert(where + "\n" + *t.key);
}

std::optional<bool> EnglishFit::cutInEnglish(const PictureFacts& p, const std::string& key) const {
  const std::string where = place(p);
  if (!places_.contains(where)) return std::nullopt;
  return cutKeys_.contains(where + "\n" + key);
}

std::vector<Finding> groupFindings(const std::vector<PictureFacts>& pictures,
                                   const EnglishFit& english) {
  struct Group {
    Finding finding;
    std::string string;
    double worst = 0;
  };
  std::map<FindingCause, Group> groups;
  for (const PictureFacts& p : pictures)
    for (Occurrence& o : occurrences(p, english)) {
      Group& g = groups[o.cause];
      g.worst = g.finding.pictures.empty() ? o.magnitude : std::max(g.worst, o.magnitude);
      if (g.finding.pictures.empty()) {
        g.finding.cause = o.cause;
        g.finding.severity = severityOf(o.cause.rule);
        g.finding.file = o.file;
        g.finding.line = o.line;
        g.string = o.string;
      }
      g.finding.pictures.push_back({p.picture, p.scenario, p.system, p.language, p.widget, p.family,
                                    p.appearance, std::move(o.detail)});
    }
  std::vector<Finding> out;
  for (auto& [cause, g] : groups) {
    g.finding.message = message(cause, g.string, g.worst);
    out.push_back(std::move(g.finding));
  }
  // Gravest first; the map already ordered them by cause.
  std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) {
    return graver(a.severity, b.severity);
  });
  return out;
}

std::vector<Finding> groupFindings(const std::vector<PictureFacts>& pictures) {
  EnglishFit english;
  for (const auto& p : pictures) english.learn(p);
  return groupFindings(pictures, english);
}

std::vector<Severity> pictureSeverities(const PictureFacts& picture, const EnglishFit& english) {
  // One per finding the picture shows: three texts of one colour on one background are one.
  std::vector<Severity> out;
  std::set<FindingCause> seen;
  for (const Occurrence& o : occurrences(picture, english))
    if (seen.insert(o.cause).second) out.push_back(severityOf(o.cause.rule));
  return out;
}

std::optional<Severity> gravest(const std::vector<Severity>& severities) {
  std::optional<Severity> worst;
  for (Severity s : severities)
    if (!worst || graver(s, *worst)) worst = s;
  return worst;
}

std::string severityCounts(const std::vector<Severity>& severities) {
  std::string out;
  for (Severity s : {Severity::error, Severity::warning, Severity::note}) {
    auto n = std::count(severities.begin(), severities.end(), s);
    if (n == 0) continue;
    out += (out.empty() ? "" : ", ") + std::to_string(n) + " " +
           std::string(kSeverityNames.nameOf(s)) + (n == 1 ? "" : "s");
  }
  return out;
}

std::string findingCounts(const std::vector<Finding>& findings) {
  std::string out;
  for (Severity s : {Severity::error, Severity::warning, Severity::note}) {
    std::size_t all = 0, fresh = 0;
    for (const auto& f : findings)
      if (f.severity == s) ++all, fresh += f.isNew() ? 1 : 0;
    std::string word(kSeverityNames.nameOf(s));
    out += (out.empty() ? "" : ", ") + std::to_string(all) + " " + word + (all == 1 ? "" : "s");
    if (fresh != all && fresh > 0) out += " (" + std::to_string(fresh) + " new)";
    if (fresh == 0 && all > 0) out += " (accepted)";
  }
  return out;
}

}  // namespace host
