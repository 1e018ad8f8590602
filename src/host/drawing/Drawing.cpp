#include "host/drawing/Drawing.h"

#include "host/core/HostSession.h"
#include "host/render/ControlScene.h"
#include "host/render/LayoutReport.h"
#include "shared/LocalizedWidgetString.h"

namespace host {
namespace {

Result<DrawnPicture> encode(render::WidgetScene scene, const PictureLook& look,
                            const render::PangoTextMeasurer& measurer) {
  auto bytes = render::encodePicture(scene, look.format, look.scale, measurer);
  if (auto* error = std::get_if<render::RenderError>(&bytes))
    return Failure::runtime(error->message);
  nlohmann::json report = render::layoutReport(scene, look.scale);
  return DrawnPicture{std::get<std::string>(std::move(bytes)), std::move(report),
                      std::move(scene)};
}

}  // namespace

Result<DrawnPicture> drawWidget(const device::Device& device,
                                const widgetkit::WidgetConfiguration& widget,
                                widgetkit::WidgetFamily family, EntryChoice entry,
                                const PictureLook& look, const render::PangoTextMeasurer& measurer) {
  render::SceneRequest request;
  request.view = widget.content(entryFor(device, widget, family, entry));
  request.family = family;
  request.appearance = look.appearance;
  request.systemVersion = device.systemVersion;
  request.device = look.device.name;
  request.pixelScale = look.format == render::PictureFormat::png ? look.scale : 1;
  request.language = tamsa::widgetTextLanguage(device);
  request.localizedKeyResolver = [&device](const std::string& key) {
    return foundation::NSLocalizedString(device.mainBundle, key);
  };
  auto scene = render::composeScene(request, measurer);
  if (auto* error = std::get_if<render::RenderError>(&scene))
    return Failure::usage(error->message);
  return encode(std::get<render::WidgetScene>(std::move(scene)), look, measurer);
}

Result<DrawnPicture> drawControl(const device::Device& device,
                                 const widgetkit::ControlConfiguration& control,
                                 const PictureLook& look,
                                 const render::PangoTextMeasurer& measurer) {
  render::ControlSceneRequest request;
  request.title = control.button().title;
  request.systemImage = control.button().systemImage;
  request.appearance = look.appearance;
  // The system draws the control's title in its own language.
  request.language = device.mainBundle.preferredLocalization();
  request.pixelScale = look.format == render::PictureFormat::png ? look.scale : 1;
  return encode(render::composeControlScene(request, measurer), look, measurer);
}

}  // namespace host
