// gallery: every declared widget in every family and appearance, and every control, drawn in
// every language of the bundle, with a contact sheet per language, an index page, and a list of
// every text that was shrunk, cut off, or holds characters no font can draw.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "host/ContactSheet.h"
#include "host/ControlPicture.h"
#include "host/FamilyNames.h"
#include "host/HostSession.h"
#include "host/TextFindings.h"
#include "host/render/LayoutReport.h"
#include "host/render/RenderRequest.h"

namespace host {
namespace {

namespace fs = std::filesystem;

struct Picture {
  std::string language, kind, family, appearance;
  std::string file;  // relative to the gallery directory
  std::vector<TextFinding> findings;
  double overflow = 0;  // points the content reaches past the space inside the margins

  bool flagged() const { return !findings.empty() || overflow > kOverflowSlack; }
  // What is wrong with the layout as a whole, or nothing.
  std::string overflowText() const {
    return "content overflows the space inside the margins by " +
           std::to_string(static_cast<int>(std::ceil(overflow))) + " pt";
  }

  // Half a point is rounding, not a fault.
  static constexpr double kOverflowSlack = 0.5;
};

std::string htmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '&')
      out += "&amp;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

std::string caption(const Picture& p) {
  std::string c = p.family == "control" ? "control · " + p.appearance
                                        : p.kind + " · " + p.family + " · " + p.appearance;
  if (!p.findings.empty()) c += " · " + std::to_string(p.findings.size()) + " flagged";
  if (p.overflow > Picture::kOverflowSlack)
    c += " · overflows " + std::to_string(static_cast<int>(std::ceil(p.overflow))) + " pt";
  return c;
}

void writeIndex(const std::string& dir, const std::vector<std::string>& languages,
                const std::vector<Picture>& pictures) {
  std::ofstream html(dir + "/index.html");
  html << "<!doctype html><meta charset=utf-8><title>Tamsa widgets</title>\n"
          "<style>body{font:14px Inter,system-ui,sans-serif;background:#8e939e;margin:24px}"
          "h2{color:#fff}figure{display:inline-block;vertical-align:top;margin:0 20px 20px 0}"
          "figcaption{max-width:340px;color:#111}img{display:block}"
          ".flag{color:#b00;font-weight:600}li{margin:2px 0}</style>\n"
          "<h1>Tamsa widgets</h1>\n";
  for (const auto& language : languages) {
    html << "<h2 id=\"" << htmlEscape(language) << "\">" << htmlEscape(language) << "</h2>\n";
    for (const auto& p : pictures) {
      if (p.language != language) continue;
      html << "<figure><img src=\"" << htmlEscape(p.file) << "\" style=\"zoom:0.5\">"
           << "<figcaption>" << htmlEscape(p.kind + " · " + p.family + " · " + p.appearance);
      if (p.flagged()) {
        html << "<ul>";
        if (p.overflow > Picture::kOverflowSlack)
          html << "<li class=flag>" << htmlEscape(p.overflowText()) << "</li>";
        for (const auto& f : p.findings)
          html << "<li class=flag>" << htmlEscape(f.problems()) << ": “" << htmlEscape(f.string)
               << "” drawn “" << htmlEscape(f.drawn) << "” at " << f.fontSize << " pt</li>";
        html << "</ul>";
      }
      html << "</figcaption></figure>\n";
    }
  }
}

}  // namespace

int runGalleryCommand(const HostSession& s) {
  const auto& o = s.options;
  if (auto error = unknownDevice(o.deviceName)) return usageError(*error);
  std::vector<std::string> languages =
      o.languages ? splitList(*o.languages) : s.device.mainBundle.localizations();
  std::error_code ec;
  fs::create_directories(o.output, ec);
  if (ec) return usageError("gallery: cannot make " + o.output + ": " + ec.message());

  std::vector<Picture> pictures;
  nlohmann::ordered_json findings = nlohmann::ordered_json::array();
  for (const auto& language : languages) {
    // The device as it would be with the system set to this language.
    device::Device d = s.device;
    d.mainBundle =
        foundation::Bundle::atPath(d.fileSystem, d.mainBundle.bundlePath(), {language}).value();
    auto declared = s.body(d).declared();
    fs::create_directories(o.output + "/" + language, ec);
    render::PangoTextMeasurer measurer(o.scale);
    std::vector<std::vector<SheetPicture>> rows(2);

    for (const auto& member : declared) {
      for (const char* appearance : {"light", "dark"}) {
        auto scheme = std::string(appearance) == "dark" ? swiftui::ColorScheme::dark
                                                        : swiftui::ColorScheme::light;
        auto draw = [&](const std::string& kind, const std::string& family) -> Picture {
          Picture p{language, kind, family, appearance, "", {}};
          p.file = language + "/" + kind + "-" + family + "-" + appearance + ".png";
          return p;
        };
        if (auto* w = std::get_if<widgetkit::WidgetConfiguration>(&member)) {
          for (auto family : w->families()) {
            Picture p = draw(w->kind(), familyName(family));
            render::RenderRequest request;
            request.view = w->content(entryFor(d, *w, family, "timeline"));
            request.family = family;
            request.appearance = scheme;
            request.systemVersion = d.systemVersion;
            request.device = o.deviceName.value_or(render::defaultDeviceName);
            request.scale = o.scale;
            request.pictureFormat = render::PictureFormat::png;
            request.localizedKeyResolver = [&](const std::string& key) {
              return foundation::NSLocalizedString(d.mainBundle, key);
            };
            auto result = render::renderWidget(request, measurer);
            if (!result.ok()) return usageError("gallery: " + result.error->message);
            std::string path = o.output + "/" + p.file;
            std::ofstream picture(path, std::ios::binary),
                report(path.substr(0, path.size() - 4) + ".json");
            picture << result.picture;
            report << result.report.dump(2) << '\n';
            if (!picture.flush() || !report.flush())
              return usageError("gallery: cannot write " + path);
            p.findings = findTextProblems(result.report);
            if (result.scene) p.overflow = contentOverflow(result.scene->layout);
            pictures.push_back(p);
          }
        } else {
          const auto& c = std::get<widgetkit::ControlConfiguration>(member);
          Picture p = draw(c.kind(), "control");
          ControlPictureRequest request{c.button().title, c.button().systemImage, scheme, o.scale,
                                        o.output + "/" + p.file};
          auto drawn = drawControlPicture(request, measurer);
          if (auto* error = std::get_if<std::string>(&drawn))
            return usageError("gallery: " + *error);
          p.findings = findTextProblems(std::get<nlohmann::json>(drawn));
          pictures.push_back(p);
        }
      }
    }
    for (const auto& p : pictures) {
      if (p.language != language) continue;
      rows[p.appearance == "dark" ? 1 : 0].push_back(
          SheetPicture{o.output + "/" + p.file, caption(p), p.flagged()});
      if (p.overflow > Picture::kOverflowSlack)
        findings.push_back({{"language", p.language},
                            {"kind", p.kind},
                            {"family", p.family},
                            {"appearance", p.appearance},
                            {"picture", p.file},
                            {"problems", "overflow"},
                            {"message", p.overflowText()},
                            {"overflow", p.overflow}});
      for (const auto& f : p.findings)
        findings.push_back({{"language", p.language},
                            {"kind", p.kind},
                            {"family", p.family},
                            {"appearance", p.appearance},
                            {"picture", p.file},
                            {"problems", f.problems()},
                            {"string", f.string},
                            {"drawn", f.drawn},
                            {"fontSize", f.fontSize},
                            {"missingGlyphs", f.missingGlyphs}});
    }
    if (auto error = writeContactSheet("Tamsa widgets · " + language, rows,
                                       o.output + "/" + language + ".png"))
      return usageError("gallery: " + *error);
  }
  writeIndex(o.output, languages, pictures);

  nlohmann::ordered_json sheets = nlohmann::ordered_json::array();
  for (const auto& language : languages) sheets.push_back(o.output + "/" + language + ".png");
  nlohmann::ordered_json summary = {{"directory", o.output},
                                    {"index", o.output + "/index.html"},
                                    {"sheets", sheets},
                                    {"pictures", pictures.size()},
                                    {"findings", findings}};
  std::ofstream(o.output + "/findings.json") << findings.dump(2) << "\n";
  std::cout << summary.dump(2) << "\n";
  return 0;
}

}  // namespace host
