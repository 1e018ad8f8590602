#include "shared/WidgetBackground.h"

#include "platform/uikit/UIColor.h"
#include "shared/SystemVersionCheck.h"

namespace tamsa {

using namespace swiftui;

View widgetBackground(const device::Device& device, View content) {
  bool modern = systemVersionAtLeast(device, os::Platform::iOS, 17, 0, 0);
  return ConditionalContent(
      modern,
      [&] {
        return AnyView(
            content.containerBackground(BackgroundStyle{}, ContainerBackgroundPlacement::widget));
      },
      [&] {
        return content.padding(EdgeSet::all, 14)
            .background(Color(uikit::UIColor::systemBackgroundColor()), EdgeSet::all);
      });
}

}  // namespace tamsa
