#include "host/system/HostDevice.h"

#include <array>

namespace host {

namespace {

struct Entry {
  const char* name;
  swiftui::Size screen, small, medium, large;
};

// Widget sizes of the Human Interface Guidelines, per screen size.
constexpr swiftui::Size k430[] = {{430, 932}, {170, 170}, {364, 170}, {364, 382}};
constexpr swiftui::Size k428[] = {{428, 926}, {170, 170}, {364, 170}, {364, 382}};
constexpr swiftui::Size k393[] = {{393, 852}, {158, 158}, {338, 158}, {338, 354}};
constexpr swiftui::Size k390[] = {{390, 844}, {158, 158}, {338, 158}, {338, 354}};
constexpr swiftui::Size k375x812[] = {{375, 812}, {155, 155}, {329, 155}, {329, 345}};
constexpr swiftui::Size k414[] = {{414, 896}, {169, 169}, {360, 169}, {360, 379}};
constexpr swiftui::Size k375x667[] = {{375, 667}, {148, 148}, {321, 148}, {321, 324}};
constexpr swiftui::Size k320[] = {{320, 568}, {141, 141}, {292, 141}, {292, 311}};

#define TAMSA_DEVICE(name, sizes)                \
  Entry {                                        \
    name, sizes[0], sizes[1], sizes[2], sizes[3] \
  }
constexpr std::array kDevices = {
    TAMSA_DEVICE("iphone15", k393),         TAMSA_DEVICE("iphone15pro", k393),
    TAMSA_DEVICE("iphone14pro", k393),      TAMSA_DEVICE("iphone15plus", k430),
    TAMSA_DEVICE("iphone15promax", k430),   TAMSA_DEVICE("iphone14promax", k430),
    TAMSA_DEVICE("iphone14plus", k428),     TAMSA_DEVICE("iphone14", k390),
    TAMSA_DEVICE("iphone13", k390),         TAMSA_DEVICE("iphone12", k390),
    TAMSA_DEVICE("iphone13mini", k375x812), TAMSA_DEVICE("iphone11pro", k375x812),
    TAMSA_DEVICE("iphonex", k375x812),      TAMSA_DEVICE("iphone11", k414),
    TAMSA_DEVICE("iphonexr", k414),         TAMSA_DEVICE("iphone11promax", k414),
    TAMSA_DEVICE("iphonese", k375x667),     TAMSA_DEVICE("iphone8", k375x667),
    TAMSA_DEVICE("iphonese1", k320),        TAMSA_DEVICE("iphone5s", k320),
};
#undef TAMSA_DEVICE

}  // namespace

std::optional<swiftui::Size> HostDevice::widgetSize(swiftui::WidgetFamily family) const {
  switch (family) {
    case swiftui::WidgetFamily::systemSmall:
      return small;
    case swiftui::WidgetFamily::systemMedium:
      return medium;
    case swiftui::WidgetFamily::systemLarge:
      return large;
    default:
      return std::nullopt;
  }
}

std::optional<HostDevice> hostDevice(const std::string& name) {
  for (const Entry& e : kDevices)
    if (name == e.name) return HostDevice{e.name, e.screen, e.small, e.medium, e.large};
  return std::nullopt;
}

std::vector<std::string> hostDeviceNames() {
  std::vector<std::string> names;
  for (const Entry& e : kDevices) names.emplace_back(e.name);
  return names;
}

}  // namespace host
