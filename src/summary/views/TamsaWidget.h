// The summary widget as the host sees it: kind "TamsaWidget", the summary provider and content,
// the gallery's name and description, and the small and medium families.
#pragma once

#include <string>

#include "platform/device/Device.h"
#include "platform/widgetkit/WidgetConfiguration.h"

namespace tamsa {

struct TamsaWidget {
  std::string kind = "TamsaWidget";

  // The description is looked up now, so it follows the language recorded at this moment. The
  // configuration refers to device, which must outlive it.
  widgetkit::WidgetConfiguration body(const device::Device& device) const;
};

}  // namespace tamsa
