// render: draws one widget or the control, as the home screen or the control gallery shows it.
// The picture and its report are written whole or not at all.
#include <CLI/CLI.hpp>
#include <memory>
#include "drawing/FontSet.h"
#include "drawing/LayoutReport.h"

#include "host/core/InputFiles.h"
#include "host/core/OutputFiles.h"
#include "host/pictures/Drawing.h"
#include "host/render/DrawingCommands.h"

namespace host {
namespace {

struct RenderWords {
  RenderOptions options;
  std::optional<std::string> output, layout, family, appearance, entry;
  LookWords look;
};

Result<Done> readFiles(const RenderWords& w, RenderOptions& o) {
  if (!w.output || w.output->empty()) return Failure::usage("-o: an empty path names no file");
  o.output = *w.output;
  if (!w.layout) return Done{};
  if (w.layout->empty()) return Failure::usage("--layout: an empty path names no file");
  o.layout = *w.layout;
  std::error_code ec;
  auto same = std::filesystem::weakly_canonical(o.output, ec) ==
              std::filesystem::weakly_canonical(*o.layout, ec);
  if (same || o.output.lexically_normal() == o.layout->lexically_normal())
    return Failure::usage("--layout: '" + *w.layout +
                          "' is the picture's own file; give the report a file of its own");
  return Done{};
}

Result<RenderOptions> readRender(const RenderWords& w) {
  RenderOptions o = w.options;
  auto family = familyFromWord(w.family);
  if (!family) return family.failure();
  o.drawing.family = *family;
  if (w.appearance) {
    auto appearance = kAppearanceNames.read("--appearance", *w.appearance);
    if (!appearance) return appearance.failure();
    o.drawing.appearance = *appearance;
  }
  if (w.entry) {
    auto entry = kEntryNames.read("--entry", *w.entry);
    if (!entry) return entry.failure();
    o.drawing.entry = *entry;
  }
  auto look = readLookOptions(w.look);
  if (!look) return look.failure();
  o.drawing.look = *look;
  if (auto r = readFiles(w, o); !r) return r.failure();
  return o;
}

std::function<Result<ReadOptions<RenderOptions>>()> declareRender(CLI::App& sub,
                                                                  const DeviceWords& global) {
  auto w = std::make_shared<RenderWords>();
  sub.add_option("KIND", w->options.kind, "Widget kind, or the control's kind")->required();
  sub.add_option("-o,--output", w->output, "Picture file: .png, .svg or .pdf")->required();
  sub.add_option("--layout", w->layout, "Also write the layout report (JSON) to this file");
  sub.add_option("--family", w->family, "Widget family: small or medium (required for a widget)");
  sub.add_option("--entry", w->entry,
                 "Entry drawn: timeline (its first entry; default), snapshot, preview or "
                 "placeholder");
  sub.add_option("--appearance", w->appearance,
                 "light, dark, tinted or tinted-light (iOS 18 on), clear or clear-light (iOS 26 "
                 "on); default light");
  addLookOptions(sub, w->look);
  addHomeScreenOptions(sub, w->look);
  return [w, &global] { return withDevice(global, readRender(*w)); };
}

}  // namespace

std::vector<CommandRow> renderCommands() {
  return {commandRow<RenderOptions>("render", "Draw a widget or the control to a picture",
                                    declareRender, runRenderCommand)};
}

Outcome runRenderCommand(const HostSession& s, const RenderOptions& o) {
  if (auto fonts = drawing::pinnedFonts(); !fonts) return fonts.failure();
  auto format = drawing::pictureFormatForPath(o.output.string());
  if (!format)
    return Failure::usage("render: cannot tell the picture format of " + o.output.string() +
                          " (use .png, .svg or .pdf)");
  auto home = loadHomeScreen(*s.files, o.drawing.look);
  if (!home) return home.failure();
  PictureLook look{o.drawing.appearance, o.drawing.look.device, o.drawing.look.scale, *format,
                   *home};
  drawing::PangoTextMeasurer measurer(look.scale);

  Result<DrawnPicture> drawn = Failure{};
  if (auto control = s.control(o.kind)) {
    drawn = drawControl(s.device, **control, look, measurer);
  } else {
    auto widget = s.widget(o.kind);
    if (!widget) return widget.failure();
    auto family = s.family(**widget, o.drawing.family, true);
    if (!family) return family.failure();
    drawn = drawWidget(s.device, **widget, *family, o.drawing.entry, look, measurer);
  }
  if (!drawn) return drawn.failure();

  OutputFiles files(*s.files);
  if (auto r = files.stage(o.output, drawn->bytes); !r) return r;
  if (o.layout)
    if (auto r = files.stage(*o.layout, drawing::layoutReport(drawn->tree).dump(2) + "\n"); !r)
      return r;
  return files.commit();
}

}  // namespace host
