// The device the extension runs on, as the widget host sets it up: its file system and clock, the
// app-group container, the extension's main bundle, and the user's regional settings and system
// version. Built once by the host before the extension is asked for anything, then read-only and
// shared by reference across threads.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/os/FileSystem.h"
#include "platform/os/MainActor.h"
#include "platform/os/SystemVersion.h"

namespace device {

// The 24-hour switch of the device's settings.
using HourCycle = foundation::HourCycle;

struct Device {
  std::shared_ptr<const os::FileSystem> fileSystem;
  std::shared_ptr<const foundation::Clock> clock;
  // The directory the system gives the app group
  // (containerURLForSecurityApplicationGroupIdentifier).
  std::string appGroupContainer;
  // The extension's main bundle, with the user's preferred languages already applied.
  foundation::Bundle mainBundle;
  // Locale.current and TimeZone.current, as ICU identifiers ("en_US", "Europe/Berlin").
  std::string localeIdentifier = "en_US";
  std::string timeZoneIdentifier = "UTC";
  // The 24-hour switch of the device's settings.
  HourCycle hourCycle = HourCycle::localeDefault;
  // The running system's version; nothing when it cannot be learned.
  std::optional<os::SystemVersion> systemVersion;
  // The main thread's executor, where main-actor work runs; the host drains it.
  std::shared_ptr<os::MainActor> mainActor;

  foundation::Date now() const { return clock->now(); }
};

}  // namespace device
