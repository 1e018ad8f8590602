// Read-only access to the app group's user-defaults suite, which the host application writes.
// Each reader opens the store afresh and drops it when done; a store is an immutable snapshot of
// the suite at the moment it was opened, safe to read from any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/device/Device.h"
#include "platform/foundation/UserDefaults.h"

namespace tamsa {

class SharedSettingsStore {
 public:
  // The suite named appGroupIdentifier in the device's app-group container; nothing when the
  // container cannot be opened.
  static std::optional<SharedSettingsStore> open(const device::Device& device);

  std::optional<std::string> stringForKey(std::string_view key) const {
    return defaults_.stringForKey(key);
  }
  double doubleForKey(std::string_view key) const { return defaults_.doubleForKey(key); }

 private:
  explicit SharedSettingsStore(foundation::UserDefaults defaults)
      : defaults_(std::move(defaults)) {}
  foundation::UserDefaults defaults_;
};

}  // namespace tamsa
