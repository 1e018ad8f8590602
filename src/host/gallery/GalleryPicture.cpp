#include "host/gallery/GalleryPicture.h"

#include <cmath>
#include <sstream>

namespace host {
namespace {

std::string htmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string points(double overflow) {
  return std::to_string(static_cast<int>(std::ceil(overflow))) + " pt";
}

std::string number(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

}  // namespace

std::string GalleryPicture::appearanceName() const {
  return appearance == swiftui::ColorScheme::dark ? "dark" : "light";
}

std::string GalleryPicture::overflowText() const {
  return "content overflows the space inside the margins by " + points(overflow);
}

std::string GalleryPicture::caption() const {
  std::string c = family == "control" ? "control · " + appearanceName()
                                      : kind + " · " + family + " · " + appearanceName();
  if (!findings.empty()) c += " · " + std::to_string(findings.size()) + " flagged";
  if (overflows()) c += " · overflows " + points(overflow);
  return c;
}

std::string indexPage(const std::vector<std::string>& languages,
                      const std::vector<GalleryPicture>& pictures) {
  std::string html =
      "<!doctype html><meta charset=utf-8><title>Tamsa widgets</title>\n"
      "<style>body{font:14px Inter,system-ui,sans-serif;background:#8e939e;margin:24px}"
      "h2{color:#fff}figure{display:inline-block;vertical-align:top;margin:0 20px 20px 0}"
      "figcaption{max-width:340px;color:#111}img{display:block}"
      ".flag{color:#b00;font-weight:600}li{margin:2px 0}</style>\n"
      "<h1>Tamsa widgets</h1>\n";
  for (const auto& language : languages) {
    html += "<h2>" + htmlEscape(language) + "</h2>\n";
    for (const auto& p : pictures) {
      if (p.language != language) continue;
      // The file is made of safe path components: a relative link that stays in the folder.
      html += "<figure><img src=\"" + htmlEscape(p.file) + "\" style=\"zoom:0.5\"><figcaption>" +
              htmlEscape(p.kind + " · " + p.family + " · " + p.appearanceName());
      if (p.flagged()) {
        html += "<ul>";
        if (p.overflows()) html += "<li class=flag>" + htmlEscape(p.overflowText()) + "</li>";
        for (const auto& f : p.findings)
          html += "<li class=flag>" + htmlEscape(f.problems()) + ": “" + htmlEscape(f.string) +
                  "” drawn “" + htmlEscape(f.drawn) + "” at " + number(f.fontSize) + " pt</li>";
        html += "</ul>";
      }
      html += "</figcaption></figure>\n";
    }
  }
  return html;
}

}  // namespace host
