// render: draws one widget or the control, as the home screen or the control gallery shows it.
// The picture and its report are written whole or not at all.
#include "host/core/OutputFiles.h"
#include "host/render/Drawing.h"
#include "host/render/DrawingCommands.h"

namespace host {

Outcome runRenderCommand(const HostSession& s) {
  const HostOptions& o = s.options;
  auto format = drawing::pictureFormatForPath(o.output.string());
  if (!format)
    return Failure::usage("render: cannot tell the picture format of " + o.output.string() +
                          " (use .png, .svg or .pdf)");
  PictureLook look{o.drawing.appearance, o.drawing.device, o.drawing.scale, *format};
  drawing::PangoTextMeasurer measurer(look.scale);

  Result<DrawnPicture> drawn = Failure{};
  if (auto control = s.control(o.kind)) {
    drawn = drawControl(s.device, **control, look, measurer);
  } else {
    auto widget = s.widget(o.kind);
    if (!widget) return widget.failure();
    auto family = s.family(**widget, true);
    if (!family) return family.failure();
    drawn = drawWidget(s.device, **widget, *family, o.drawing.entry, look, measurer);
  }
  if (!drawn) return drawn.failure();

  OutputFiles files(*s.files);
  if (auto r = files.stage(o.output, drawn->bytes); !r) return r;
  if (o.layout)
    if (auto r = files.stage(*o.layout, drawn->report.dump(2) + "\n"); !r) return r;
  return files.commit();
}

}  // namespace host
