#include "shared/SharedSettingsStore.h"

#include "shared/AppConfiguration.h"

namespace tamsa {

std::optional<SharedSettingsStore> SharedSettingsStore::open(const device::Device& device) {
  auto defaults = foundation::UserDefaults::open(*device.fileSystem, device.appGroupContainer,
                                                 std::string(appGroupIdentifier));
  if (!defaults) return std::nullopt;
  return SharedSettingsStore(std::move(*defaults));
}

}  // namespace tamsa
