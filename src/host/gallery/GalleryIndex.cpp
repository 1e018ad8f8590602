// The gallery's index page. The filters are a few lines of script over data attributes, so the
// page works from disk with no server and no download.
#include <map>
#include <set>

#include "host/core/HtmlText.h"
#include "host/gallery/GalleryPicture.h"
#include "host/gallery/IndexAssets.h"

namespace host {
namespace {

std::string select(const char* id, const char* all,
                   const std::vector<std::pair<std::string, std::string>>& values) {
  std::string html = "<label>" + std::string(all) + " <select id=" + id + "><option value=''>all";
  for (const auto& [value, shown] : values)
    html += "<option value=\"" + htmlEscape(value) + "\">" + htmlEscape(shown);
  return html + "</select></label>\n";
}

template <class F>
std::vector<std::pair<std::string, std::string>> distinct(
    const std::vector<GalleryPicture>& pictures, F field) {
  std::vector<std::pair<std::string, std::string>> out;
  std::set<std::string> seen;
  for (const auto& p : pictures)
    if (seen.insert(field(p)).second)
      out.emplace_back(field(p), field(p).empty() ? "(container)" : field(p));
  return out;
}

std::string severityName(Severity s) {
  return std::string(kSeverityNames.nameOf(s));
}

// " a b " from a set of words, so the script can look for " a ".
std::string words(const std::set<std::string>& set) {
  std::string out = " ";
  for (const auto& w : set) out += w + " ";
  return out;
}

// "scenario · language · widget family appearance · system"
std::string placeOf(const FindingPicture& p) {
  std::string out = p.scenario.empty() ? "" : p.scenario + " · ";
  out += p.language + " · " + p.widget + " " + p.family + " " + p.appearance;
  return out + (p.system.empty() ? "" : " · " + p.system);
}

// One row per finding: its severity, whether a baseline accepts it (and why), what it says, its
// table's line, and the pictures it shows in, counted, under it.
std::string findingsTable(const std::vector<Finding>& findings) {
  if (findings.empty()) return "<p id=nofindings>No findings.</p>\n";
  std::string html =
      "<table id=findings><tr><th>severity<th>finding<th>table:line<th>pictures<th>status\n";
  for (std::size_t n = 0; n < findings.size(); ++n) {
    const Finding& f = findings[n];
    std::set<std::string> scenarios, languages, kinds, appearances;
    for (const auto& p : f.pictures) {
      scenarios.insert(p.scenario);
      languages.insert(p.language);
      kinds.insert(p.widget);
      appearances.insert(p.appearance);
    }
    const std::string severity = severityName(f.severity);
    html += "<tr id=f" + std::to_string(n) + " class=\"finding " + severity +
            "\" data-severity=" + severity + " data-status=" + (f.isNew() ? "new" : "accepted") +
            " data-scenarios=\"" + htmlEscape(words(scenarios)) + "\" data-languages=\"" +
            htmlEscape(words(languages)) + "\" data-kinds=\"" + htmlEscape(words(kinds)) +
            "\" data-appearances=\"" + htmlEscape(words(appearances)) +
            "\"><td><span class=badge>" + severity + "</span><td>" + htmlEscape(f.message) +
            "<td>" +
            (f.file ? htmlEscape(*f.file) + ":" + std::to_string(f.line.value_or(1)) : "") +
            "<td><details><summary>" + std::to_string(f.pictures.size()) + "</summary><ul>";
    for (const auto& p : f.pictures)
      html += "<li><a href=\"" + htmlEscape(p.picture) + "\">" + htmlEscape(placeOf(p)) +
              "</a>: " + htmlEscape(p.detail) + "</li>";
    html += "</ul></details><td class=status>" +
            (f.accepted ? "accepted: " +
                              htmlEscape(f.accepted->empty() ? "(no reason given)" : *f.accepted)
                        : "<b>new</b>") +
            "\n";
  }
  return html + "</table>\n";
}

// What each picture shows: the findings it appears under, with their severity and status.
struct Shown {
  std::set<std::string> severities, statuses;
  std::vector<std::pair<const Finding*, const FindingPicture*>> items;
};

}  // namespace

std::string indexPage(const std::vector<GalleryPicture>& pictures,
                      const std::vector<ScenarioNote>& scenarios,
                      const std::vector<Finding>& findings) {
  std::map<std::string, Shown> shown;
  for (const auto& f : findings)
    for (const auto& p : f.pictures) {
      Shown& s = shown[p.picture];
      s.severities.insert(severityName(f.severity));
      s.statuses.insert(f.isNew() ? "new" : "accepted");
      s.items.emplace_back(&f, &p);
    }
  std::string html = "<!doctype html><meta charset=utf-8><title>Tamsa widgets</title>\n";
  html += "<style>\n" + std::string(galleryIndexStyle()) + "</style>\n";
  html += "<h1>Tamsa widgets</h1>\n<p>" + std::to_string(pictures.size()) + " pictures; " +
          std::to_string(findings.size()) + " findings: " + htmlEscape(findingCounts(findings)) +
          ".</p>\n<div id=filters>\n";
  html += select("scenario", "Scenario", distinct(pictures, [](auto& p) { return p.scenario; }));
  html += select("language", "Language", distinct(pictures, [](auto& p) { return p.language; }));
  html += select("kind", "Widget", distinct(pictures, [](auto& p) { return p.kind; }));
  html +=
      select("appearance", "Look", distinct(pictures, [](auto& p) { return p.appearanceName(); }));
  html += select(
      "severity", "Severity",
      {{"error", "errors"}, {"warning", "warnings"}, {"note", "notes"}, {"any", "any finding"}});
  html += select("status", "Status", {{"new", "new"}, {"accepted", "accepted"}});
  html += "<span id=count></span>\n</div>\n";
  html += findingsTable(findings);

  std::string openSection;
  for (const auto& p : pictures) {
    std::string section = p.scenario + "\n" + p.language;
    if (section != openSection) {
      if (!openSection.empty()) html += "</section>\n";
      openSection = section;
      html += "<section><h2>" +
              htmlEscape(p.scenario.empty() ? p.language : p.scenario + " · " + p.language);
      for (const auto& s : scenarios)
        if (s.name == p.scenario) html += " <small>" + htmlEscape(s.description) + "</small>";
      html += "</h2>\n";
    }
    const auto at = shown.find(p.file);
    const Shown none;
    const Shown& s = at == shown.end() ? none : at->second;
    std::vector<Severity> severities;
    std::set<const Finding*> counted;  // a finding once, however many of its texts it shows
    for (const auto& [f, where] : s.items)
      if (counted.insert(f).second) severities.push_back(f->severity);
    const auto worst = gravest(severities);
    // The file is made of safe path components: a relative link that stays in the folder.
    html += "<figure class=\"" + (worst ? severityName(*worst) : std::string("clean")) +
            "\" data-scenario=\"" + htmlEscape(p.scenario) + "\" data-language=\"" +
            htmlEscape(p.language) + "\" data-kind=\"" + htmlEscape(p.kind) +
            "\" data-appearance=\"" + htmlEscape(p.appearanceName()) + "\" data-severities=\"" +
            words(s.severities) + "\" data-statuses=\"" + words(s.statuses) + "\"><a href=\"" +
            htmlEscape(p.reportFile()) + "\"><img loading=lazy src=\"" + htmlEscape(p.file) +
            "\" style=\"zoom:0.5\"></a><figcaption>" + htmlEscape(p.caption(severities));
    if (!s.items.empty()) {
      html += "<ul>";
      for (const auto& [f, where] : s.items)
        // The finding's whole message is in its row above; here its rule, linked to it.
        html += "<li class=\"" + severityName(f->severity) + "\"><a href=\"#f" +
                std::to_string(f - findings.data()) + "\">" +
                std::string(kFindingRuleNames.nameOf(f->cause.rule)) + "</a>" +
                (f->isNew() ? "" : " (accepted)") + ": " + htmlEscape(where->detail) + "</li>";
      html += "</ul>";
    }
    html += "</figcaption></figure>\n";
  }
  if (!openSection.empty()) html += "</section>\n";
  return html + "<script>\n" + std::string(galleryIndexScript()) + "</script>\n";
}

}  // namespace host
