// render, tap and gallery: drawing widgets and controls as the home screen and the control
// gallery show them.
#include <fstream>
#include <iostream>

#include "host/ControlPicture.h"
#include "host/FamilyNames.h"
#include "host/HostSession.h"
#include "host/render/LayoutReport.h"
#include "host/render/RenderRequest.h"
#include "platform/swiftui/Layout.h"

namespace host {
namespace {

// Writes `bytes` to `path`; a message when it cannot.
std::optional<std::string> writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  if (!out) return "cannot write " + path;
  return std::nullopt;
}

}  // namespace

widgetkit::AnyTimelineEntry entryFor(const device::Device& d,
                                     const widgetkit::WidgetConfiguration& w,
                                     widgetkit::WidgetFamily family, const std::string& which) {
  widgetkit::TimelineProviderContext ctx{d};
  ctx.family = family;
  ctx.isPreview = which == "preview";
  if (which == "placeholder") return w.placeholder(ctx);
  if (which == "snapshot" || which == "preview") return w.snapshot(ctx);
  auto timeline = w.timeline(ctx);
  if (timeline.entries.empty()) return w.placeholder(ctx);
  return timeline.entries.front();
}

int runTapCommand(const HostSession& s) {
  const auto* widget = s.widget(s.options.kind);
  if (!widget) return usageError(s.notOffered(s.options.kind));
  auto family = widget->families().empty() ? widgetkit::WidgetFamily::systemSmall
                                           : widget->families().front();
  if (!s.options.family.empty()) family = *familyFromName(s.options.family);
  swiftui::EnvironmentValues env;
  env.widgetFamily = family;
  auto view = widget->content(entryFor(s.device, *widget, family, "timeline"));
  auto traits = swiftui::inspect(view, env);
  if (!traits.widgetURL) return 1;
  std::cout << *traits.widgetURL << "\n";
  return 0;
}

int runRenderCommand(const HostSession& s) {
  const auto& o = s.options;
  if (auto error = unknownDevice(o.deviceName)) return usageError(*error);
  auto appearance =
      o.appearance == "dark" ? swiftui::ColorScheme::dark : swiftui::ColorScheme::light;
  render::PangoTextMeasurer measurer(o.scale);

  if (const auto* control = s.control(o.kind)) {
    ControlPictureRequest request{control->button().title, control->button().systemImage,
                                  appearance, o.scale, o.output};
    auto drawn = drawControlPicture(request, measurer);
    if (auto* error = std::get_if<std::string>(&drawn)) return usageError(*error);
    if (o.layout) {
      if (auto error = writeFile(*o.layout, std::get<nlohmann::json>(drawn).dump(2) + "\n"))
        return usageError(*error);
    }
    return 0;
  }

  const auto* widget = s.widget(o.kind);
  if (!widget) return usageError(s.notOffered(o.kind));
  std::string offered;
  for (auto f : widget->families()) offered += (offered.empty() ? "" : ", ") + familyName(f);
  if (o.family.empty())
    return usageError("render: --family is required for a widget (offered: " + offered + ")");
  auto family = *familyFromName(o.family);
  if (!widget->supports(family))
    return usageError("render: " + o.kind + " is not offered in the " + o.family +
                      " family (offered: " + offered + ")");

  render::RenderRequest request;
  request.view = widget->content(entryFor(s.device, *widget, family, o.entry));
  request.family = family;
  request.appearance = appearance;
  request.systemVersion = s.device.systemVersion;
  request.device = o.deviceName.value_or(render::defaultDeviceName);
  request.scale = o.scale;
  if (!o.output.empty()) {
    request.pictureFormat = render::pictureFormatForPath(o.output);
    if (!request.pictureFormat)
      return usageError("render: cannot tell the picture format of " + o.output +
                        " (use .png, .svg or .pdf)");
  }
  request.localizedKeyResolver = [&](const std::string& key) {
    return foundation::NSLocalizedString(s.device.mainBundle, key);
  };
  auto result = render::renderWidget(request, measurer);
  if (!result.ok()) return usageError("render: " + result.error->message);
  if (auto error = o.output.empty() ? std::nullopt : writeFile(o.output, result.picture))
    return usageError("render: " + *error);
  if (auto error = o.layout ? writeFile(*o.layout, result.report.dump(2) + "\n") : std::nullopt)
    return usageError("render: " + *error);
  return 0;
}

}  // namespace host
