// The summary widget as the host sees it: kind "TamsaWidget", the summary provider, and the
// small and medium families.
#pragma once

#include <string>

#include "platform/device/Device.h"
#include "platform/widgetkit/WidgetConfiguration.h"

namespace tamsa {

struct TamsaWidget {
  std::string kind = "TamsaWidget";

  widgetkit::WidgetConfiguration body(const device::Device& device) const;
};

}  // namespace tamsa
