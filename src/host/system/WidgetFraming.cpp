#include "host/system/WidgetFraming.h"

#include "host/system/HostDevice.h"

namespace host {

uikit::RGBA widgetBackground(swiftui::ColorScheme appearance) {
  return swiftui::Color(uikit::UIColor::systemBackgroundColor()).resolved(appearance);
}

base::Result<drawing::WidgetScene> composeScene(const SceneRequest& request,
                                                const swiftui::TextMeasurer& measurer) {
  std::string deviceName = request.device.empty() ? defaultDeviceName : request.device;
  std::optional<HostDevice> device = hostDevice(deviceName);
  if (!device) return base::Failure::runtime("unknown device \"" + deviceName + "\"");
  std::optional<swiftui::Size> size = device->widgetSize(request.family);
  if (!size)
    return base::Failure::runtime("the device \"" + deviceName +
                                  "\" shows no widget of that family");

  if (!offers(request.systemVersion, request.appearance))
    return base::Failure::usage(appearanceUnavailable(request.appearance, request.systemVersion));

  swiftui::EnvironmentValues env;
  env.widgetFamily = request.family;
  env.colorScheme = colorScheme(request.appearance);
  env.widgetRenderingMode = renderingMode(request.appearance);
  env.language = request.language;
  env.layoutDirection = swiftui::layoutDirectionFor(request.language);
  swiftui::ViewTraits traits = swiftui::inspect(request.view, env);
  bool modern = request.systemVersion && *request.systemVersion >= os::SystemVersion{17, 0, 0};
  swiftui::EdgeInsets margins;
  if (modern && traits.usesContainerBackground)
    margins = {contentMargin, contentMargin, contentMargin, contentMargin};

  swiftui::LayoutContext context{measurer, request.localizedKeyResolver, request.pixelScale,
                                 request.textOrigin};
  drawing::WidgetScene scene;
  scene.layout = swiftui::layoutWidget(request.view, *size, margins, env, context);
  scene.appearance = env.colorScheme;
  HostBackdrop backdrop = hostBackdrop(request.appearance, request.homeScreen);
  scene.background = backdrop.background;
  scene.accented = std::move(backdrop.accented);
  scene.usesContainerBackground = traits.usesContainerBackground;
  scene.widgetURL = traits.widgetURL;
  scene.cornerRadius = device->cornerRadius;
  return scene;
}

}  // namespace host
