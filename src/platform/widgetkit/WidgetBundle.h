// A widget bundle: the widgets an extension declares, in order, and the hand-over of the process
// to the widget host (WidgetBundle.main()).
#pragma once

#include <functional>
#include <vector>

#include "platform/device/Device.h"
#include "platform/widgetkit/WidgetConfiguration.h"

namespace widgetkit {

// What a bundle's body declares on a given device.
struct WidgetBundleContents {
  std::vector<WidgetConfiguration> widgets;
};

using WidgetBundleBody = std::function<WidgetBundleContents(const device::Device&)>;

// Provided by the widget host the extension runs in: takes the process over, evaluates the body
// on the device it sets up, serves requests, and returns the process's exit status.
int runExtensionHost(int argc, char** argv, const WidgetBundleBody& body);

// WidgetBundle.main() for a bundle type with a `body(const device::Device&)`.
template <class Bundle>
int widgetBundleMain(int argc, char** argv) {
  return runExtensionHost(argc, argv, [](const device::Device& d) { return Bundle{}.body(d); });
}

}  // namespace widgetkit
