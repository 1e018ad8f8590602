#include <algorithm>
#include <nlohmann/json.hpp>

#include "host/core/FamilyNames.h"
#include "host/core/OutputFiles.h"
#include "host/drawing/Drawing.h"
#include "host/gallery/ContactSheet.h"
#include "host/gallery/GalleryCommands.h"
#include "host/gallery/GalleryFolder.h"
#include "host/gallery/GalleryPicture.h"

namespace host {
namespace {

using nlohmann::ordered_json;

constexpr swiftui::ColorScheme kAppearances[] = {swiftui::ColorScheme::light,
                                                 swiftui::ColorScheme::dark};

// The languages to draw, each once, in the order asked.
std::vector<std::string> languagesToDraw(const HostSession& s) {
  std::vector<std::string> asked = s.options.device.languages ? *s.options.device.languages
                                                              : s.device.mainBundle.localizations();
  std::vector<std::string> out;
  for (const auto& l : asked)
    if (std::find(out.begin(), out.end(), l) == out.end()) out.push_back(l);
  return out;
}

// The device as it would be with the system set to this language.
device::Device deviceInLanguage(const device::Device& base, const std::string& language) {
  device::Device d = base;
  if (auto bundle = foundation::Bundle::atPath(d.fileSystem, d.mainBundle.bundlePath(), {language}))
    d.mainBundle = std::move(*bundle);
  return d;
}

class GalleryRun {
 public:
  GalleryRun(const HostSession& s, GalleryFolder& folder)
      : s_(s), folder_(folder), measurer_(s.options.drawing.scale) {}

  // Draws every picture of one language and its contact sheet.
  Outcome drawLanguage(const std::string& language) {
    device::Device d = deviceInLanguage(s_.device, language);
    std::string dir = safePathComponent(language);
    std::vector<std::vector<SheetPicture>> rows(std::size(kAppearances));
    for (const auto& member : s_.body(d).declared()) {
      for (std::size_t a = 0; a < std::size(kAppearances); ++a) {
        PictureLook look{kAppearances[a], s_.options.drawing.device, s_.options.drawing.scale,
                         render::PictureFormat::png};
        Outcome drawn = Done{};
        if (auto* w = std::get_if<widgetkit::WidgetConfiguration>(&member)) {
          for (auto family : w->families()) {
            drawn =
                keep(language, dir, w->kind(), familyName(family), look,
                     drawWidget(d, *w, family, EntryChoice::timeline, look, measurer_), rows[a]);
            if (!drawn) return drawn;
          }
        } else {
          const auto& c = std::get<widgetkit::ControlConfiguration>(member);
          drawn = keep(language, dir, c.kind(), "control", look, drawControl(d, c, look, measurer_),
                       rows[a]);
        }
        if (!drawn) return drawn;
      }
    }
    auto sheet = contactSheet("Tamsa widgets · " + language, rows);
    if (!sheet) return sheet.failure();
    return folder_.write(dir + ".png", *sheet);
  }

  Outcome writeIndexAndFindings(const std::vector<std::string>& languages) {
    if (auto r = folder_.write("index.html", indexPage(languages, pictures_)); !r) return r;
    return folder_.write("findings.json", findings().dump(2) + "\n");
  }

  ordered_json findings() const {
    ordered_json out = ordered_json::array();
    for (const auto& p : pictures_) {
      ordered_json where = {{"language", p.language},
                            {"kind", p.kind},
                            {"family", p.family},
                            {"appearance", p.appearanceName()},
                            {"picture", p.file}};
      if (p.overflows()) {
        ordered_json f = where;
        f.update(
            {{"problems", "overflow"}, {"message", p.overflowText()}, {"overflow", p.overflow}});
        out.push_back(f);
      }
      for (const auto& t : p.findings) {
        ordered_json f = where;
        f.update({{"problems", t.problems()},
                  {"string", t.string},
                  {"drawn", t.drawn},
                  {"fontSize", t.fontSize},
                  {"missingGlyphs", t.missingGlyphs}});
        out.push_back(f);
      }
    }
    return out;
  }

  std::size_t pictureCount() const { return pictures_.size(); }

 private:
  // Writes a drawn picture and its layout report, and records what it flags.
  Outcome keep(const std::string& language, const std::string& dir, const std::string& kind,
               const std::string& family, const PictureLook& look, Result<DrawnPicture> drawn,
               std::vector<SheetPicture>& row) {
    if (!drawn) return drawn.failure();
    GalleryPicture p{language, kind, family, look.appearance, "", {}, 0};
    std::string name = safePathComponent(kind + "-" + family + "-" + p.appearanceName());
    p.file = dir + "/" + name + ".png";
    p.findings = findTextProblems(drawn->report);
    if (family != "control") p.overflow = contentOverflow(drawn->scene.layout);
    if (auto r = folder_.write(p.file, drawn->bytes); !r) return r;
    if (auto r = folder_.write(dir + "/" + name + ".json", drawn->report.dump(2) + "\n"); !r)
      return r;
    if (drawn->pixels)
      row.push_back(SheetPicture{std::move(*drawn->pixels), p.caption(), p.flagged()});
    pictures_.push_back(std::move(p));
    return Done{};
  }

  const HostSession& s_;
  GalleryFolder& folder_;
  render::PangoTextMeasurer measurer_;
  std::vector<GalleryPicture> pictures_;
};

}  // namespace

Outcome runGalleryCommand(const HostSession& s) {
  const auto& out = s.options.output;
  auto folder = GalleryFolder::prepare(out);
  if (!folder) return folder.failure();
  std::vector<std::string> languages = languagesToDraw(s);
  GalleryRun run(s, *folder);
  for (const auto& language : languages)
    if (auto r = run.drawLanguage(language); !r) return r;
  if (auto r = run.writeIndexAndFindings(languages); !r) return r;
  if (auto r = folder->commit(); !r) return r;

  ordered_json sheets = ordered_json::array();
  for (const auto& l : languages)
    sheets.push_back((out / (safePathComponent(l) + ".png")).string());
  ordered_json summary = {{"directory", out.string()},
                          {"index", (out / "index.html").string()},
                          {"sheets", sheets},
                          {"pictures", run.pictureCount()},
                          {"findings", run.findings()}};
  return writeStandardOutput(summary.dump(2) + "\n");
}

}  // namespace host
