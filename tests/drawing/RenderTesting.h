// For the renderer's tests: one measurer shared by the tests of a program, and a device for
// building the extension's own views, with the shipped string tables in one language.
#pragma once

#include <string>

#include "drawing/PangoTextMeasurer.h"
#include "drawing/WidgetScene.h"
#include "summary/data/SummaryLoader.h"
#include "summary/views/TamsaWidgetEntryView.h"
#include "support/TestDevice.h"

namespace drawing::testing {

inline const PangoTextMeasurer& measurer() {
  static const PangoTextMeasurer shared(2);
  return shared;
}

inline device::Device shippedDevice(const std::string& language,
                                    std::optional<os::SystemVersion> version) {
  device::Device d = testing_support::TestDevice().device();
  d.fileSystem = os::posixFileSystem();
  d.mainBundle = *foundation::Bundle::atPath(d.fileSystem, TAMSA_RESOURCES_DIR, {language});
  d.systemVersion = version;
  return d;
}

}  // namespace drawing::testing
