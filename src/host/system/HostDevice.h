// The devices whose home screens the host imitates, by short name ("iphone15", "iphonese"), and
// the size each gives a widget family. Sizes in points; constant data.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/swiftui/Geometry.h"
#include "platform/swiftui/WidgetFamily.h"

namespace host {

struct HostDevice {
  std::string name;
  swiftui::Size screen;
  swiftui::Size small, medium, large;
  // Home-screen widgets show continuous corners of about this radius.
  double cornerRadius = 22;
  bool operator==(const HostDevice&) const = default;

  // The family's size on this device; nothing for a family phones do not show.
  std::optional<swiftui::Size> widgetSize(swiftui::WidgetFamily family) const;
};

// A current 6.1-inch phone, 393 points wide.
inline constexpr const char* defaultDeviceName = "iphone15";

// The device of that short name, or nothing.
std::optional<HostDevice> hostDevice(const std::string& name);
// Every short name, in the table's order.
std::vector<std::string> hostDeviceNames();

}  // namespace host
