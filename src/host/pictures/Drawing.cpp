#include "host/pictures/Drawing.h"

#include "host/core/HostSession.h"
#include "host/pictures/TextSources.h"
#include "host/system/ControlScene.h"
#include "host/system/WidgetFraming.h"
#include "shared/LocalizedWidgetString.h"

namespace host {
namespace {

Result<DrawnPicture> encode(drawing::WidgetScene scene, const PictureLook& look,
                            const drawing::PangoTextMeasurer& measurer) {
  auto picture = drawing::drawPicture(scene, look.format, look.scale, measurer);
  if (!picture) return picture.failure();
  return DrawnPicture{std::move(*picture), std::move(scene)};
}

}  // namespace

Result<DrawnPicture> drawWidget(const device::Device& device,
                                const widgetkit::WidgetConfiguration& widget,
                                widgetkit::WidgetFamily family, EntryChoice entry,
                                const PictureLook& look,
                                const drawing::PangoTextMeasurer& measurer) {
  return drawWidgetEntry(device, widget, family, entryFor(device, widget, family, entry), look,
                         measurer);
}

Result<drawing::WidgetScene> layoutWidgetEntry(const device::Device& device,
                                               const widgetkit::WidgetConfiguration& widget,
                                               widgetkit::WidgetFamily family,
                                               const widgetkit::AnyTimelineEntry& entry,
                                               const PictureLook& look,
                                               const drawing::PangoTextMeasurer& measurer) {
  if (!(look.scale >= 1 && look.scale <= 3))
    return Failure::runtime("the scale must be between 1 and 3");
  host::SceneRequest request;
  request.view = widget.content(entry);
  request.family = family;
  request.appearance = look.appearance;
  request.homeScreen = look.homeScreen;
  request.systemVersion = device.systemVersion;
  request.device = look.device.name;
  request.pixelScale = look.scale;
  request.language = tamsa::widgetTextLanguage(device);
  request.localizedKeyResolver = [&device](const std::string& key) {
    return foundation::NSLocalizedString(device.mainBundle, key);
  };
  const TextSources sources = TextSources::of(device);
  request.textOrigin = sources.origins(request.language);
  return host::composeScene(request, measurer);
}

Result<DrawnPicture> drawWidgetEntry(const device::Device& device,
                                     const widgetkit::WidgetConfiguration& widget,
                                     widgetkit::WidgetFamily family,
                                     const widgetkit::AnyTimelineEntry& entry,
                                     const PictureLook& look,
                                     const drawing::PangoTextMeasurer& measurer) {
  auto scene = layoutWidgetEntry(device, widget, family, entry, look, measurer);
  if (!scene) return scene.failure();
  return encode(std::move(*scene), look, measurer);
}

drawing::WidgetScene layoutControl(const device::Device& device,
                                   const widgetkit::ControlConfiguration& control,
                                   const PictureLook& look,
                                   const drawing::PangoTextMeasurer& measurer) {
  host::ControlSceneRequest request;
  request.title = control.button().title;
  request.systemImage = control.button().systemImage;
  request.appearance = colorScheme(look.appearance);
  // The system lays the control out in its own language; the title is drawn in that of the
  // table it came from.
  request.language = device.mainBundle.preferredLocalization();
  const TextSources sources = TextSources::of(device);
  request.textOrigin = sources.origins(request.language);
  request.pixelScale = look.format == drawing::PictureFormat::png ? look.scale : 1;
  return host::composeControlScene(request, measurer);
}

Result<DrawnPicture> drawControl(const device::Device& device,
                                 const widgetkit::ControlConfiguration& control,
                                 const PictureLook& look,
                                 const drawing::PangoTextMeasurer& measurer) {
  if (renderingMode(look.appearance) != swiftui::WidgetRenderingMode::fullColor)
    return Failure::usage("the control gallery has no " +
                          std::string(kAppearanceNames.nameOf(look.appearance)) +
                          " look: controls are drawn in light and dark");
  return encode(layoutControl(device, control, look, measurer), look, measurer);
}

}  // namespace host
