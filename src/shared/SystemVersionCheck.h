// The availability test behind the extension's version-dependent choices.
#pragma once

#include "platform/device/Device.h"
#include "platform/os/SystemVersion.h"

namespace tamsa {

// True when the running system is at least major.minor.patch (compared major first, then minor,
// then patch); false for every test when the running version cannot be learned.
inline bool systemVersionAtLeast(const device::Device& device, os::Platform platform, int major,
                                 int minor, int patch) {
  (void)platform;  // the extension runs on iOS only
  if (!device.systemVersion) return false;
  return *device.systemVersion >= os::SystemVersion{major, minor, patch};
}

}  // namespace tamsa
