// The gallery's index page. The filters are a few lines of script over data attributes, so the
// page works from disk with no server and no download.
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "host/core/HtmlText.h"
#include "host/gallery/GalleryPicture.h"
#include "host/gallery/IndexAssets.h"

namespace host {
namespace {

std::string number(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

std::string select(const char* id, const char* all, const std::vector<std::string>& values) {
  std::string html = "<label>" + std::string(all) + " <select id=" + id + "><option value=''>all";
  for (const auto& v : values)
    html += "<option value=\"" + htmlEscape(v) + "\">" + htmlEscape(v.empty() ? "(container)" : v);
  return html + "</select></label>\n";
}

template <class F>
std::vector<std::string> distinct(const std::vector<GalleryPicture>& pictures, F field) {
  std::vector<std::string> out;
  std::set<std::string> seen;
  for (const auto& p : pictures)
    if (seen.insert(field(p)).second) out.push_back(field(p));
  return out;
}

// What a translator works from: each text a table gave that some picture cuts, shrinks or cannot
// draw, by language and key, with the table's line and the pictures it happens in.
std::string findingsByKey(const std::vector<GalleryPicture>& pictures) {
  struct Seen {
    std::string problems, drawn;
    std::vector<const GalleryPicture*> where;
  };
  std::map<std::tuple<std::string, std::string, std::string, int>, Seen> byKey;
  for (const auto& p : pictures)
    for (const auto& f : p.findings) {
      if (!f.key) continue;
      Seen& seen = byKey[{p.language, *f.key, f.table.value_or(""), f.line.value_or(0)}];
      if (seen.where.empty()) seen.problems = f.problems(), seen.drawn = f.drawn;
      seen.where.push_back(&p);
    }
  if (byKey.empty()) return "";
  std::string html =
      "<details><summary>Findings by language and key (" + std::to_string(byKey.size()) +
      ")</summary><table><tr><th>language<th>key<th>table:line<th>problem<th>drawn<th>pictures\n";
  for (const auto& [k, seen] : byKey) {
    const auto& [language, key, table, line] = k;
    html += "<tr><td>" + htmlEscape(language) + "<td>" + htmlEscape(key) + "<td>" +
            htmlEscape(table) + ":" + std::to_string(line) + "<td>" + htmlEscape(seen.problems) +
            "<td>“" + htmlEscape(seen.drawn) + "”<td>";
    for (std::size_t i = 0; i < seen.where.size() && i < 8; ++i)
      html +=
          "<a href=\"" + htmlEscape(seen.where[i]->file) + "\">" + std::to_string(i + 1) + "</a> ";
    if (seen.where.size() > 8) html += "and " + std::to_string(seen.where.size() - 8) + " more";
    html += "\n";
  }
  return html + "</table></details>\n";
}

}  // namespace

std::string indexPage(const std::vector<GalleryPicture>& pictures,
                      const std::vector<ScenarioNote>& scenarios) {
  std::size_t flaggedCount = 0;
  for (const auto& p : pictures) flaggedCount += p.flagged() ? 1 : 0;
  std::string html = "<!doctype html><meta charset=utf-8><title>Tamsa widgets</title>\n";
  html += "<style>\n" + std::string(galleryIndexStyle()) + "</style>\n";
  html += "<h1>Tamsa widgets</h1>\n<p>" + std::to_string(pictures.size()) + " pictures, " +
          std::to_string(flaggedCount) + " flagged.</p>\n<div id=filters>\n";
  html += select("scenario", "Scenario", distinct(pictures, [](auto& p) { return p.scenario; }));
  html += select("language", "Language", distinct(pictures, [](auto& p) { return p.language; }));
  html += select("kind", "Widget", distinct(pictures, [](auto& p) { return p.kind; }));
  html +=
      "<label><input type=checkbox id=flagged> flagged only</label> <span id=count></span>\n"
      "</div>\n";
  html += findingsByKey(pictures);

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
    // The file is made of safe path components: a relative link that stays in the folder.
    html += "<figure data-scenario=\"" + htmlEscape(p.scenario) + "\" data-language=\"" +
            htmlEscape(p.language) + "\" data-kind=\"" + htmlEscape(p.kind) +
            "\" data-flagged=" + (p.flagged() ? "1" : "0") + "><a href=\"" +
            htmlEscape(p.reportFile()) + "\"><img loading=lazy src=\"" + htmlEscape(p.file) +
            "\" style=\"zoom:0.5\"></a><figcaption>" + htmlEscape(p.caption());
    if (p.flagged()) {
      html += "<ul>";
      if (p.overflows()) html += "<li class=flag>" + htmlEscape(p.overflowText()) + "</li>";
      for (const auto& f : p.findings)
        html += "<li class=flag>" + htmlEscape(f.problems()) + ": “" + htmlEscape(f.string) +
                "” drawn “" + htmlEscape(f.drawn) + "” at " + number(f.fontSize) + " pt" +
                (f.key ? " (" +
                             htmlEscape(*f.key + ", " + f.table.value_or("") + ":" +
                                        std::to_string(f.line.value_or(0))) +
                             ")"
                       : std::string()) +
                "</li>";
      html += "</ul>";
    }
    html += "</figcaption></figure>\n";
  }
  if (!openSection.empty()) html += "</section>\n";
  return html + "<script>\n" + std::string(galleryIndexScript()) + "</script>\n";
}

}  // namespace host
