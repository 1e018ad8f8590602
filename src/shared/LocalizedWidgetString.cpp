#include "shared/LocalizedWidgetString.h"

#include "shared/SharedSettingsStore.h"

namespace tamsa {
namespace {

// Steps after the system-language text: the recorded language's table, falling back to base.
std::string inRecordedLanguage(const device::Device& device, const std::string& key,
                               const std::optional<SharedSettingsStore>& store, std::string base) {
  if (!store) return base;
  auto language = store->stringForKey("widget_language");
  if (!language || language->empty()) return base;
  // The name comes from another process's data: a path in it could leave the bundle.
  if (!isPlainLocalizationName(*language)) return base;
  auto path = device.mainBundle.pathForResource(*language, "lproj");
  if (!path) return base;
  auto languageBundle = foundation::Bundle::atPath(device.fileSystem, *path);
  if (!languageBundle) return base;
  return languageBundle->localizedStringForKey(key, base);
}

}  // namespace

bool isPlainLocalizationName(const std::string& name) {
  return os::isSingleFileName(name);
}

std::optional<std::string> widgetTextLanguage(const device::Device& device) {
  if (auto store = SharedSettingsStore::open(device)) {
    auto language = store->stringForKey("widget_language");
    if (language && isPlainLocalizationName(*language) &&
        device.mainBundle.pathForResource(*language, "lproj"))
      return language;
  }
  return device.mainBundle.preferredLocalization();
}

std::string localizedWidgetString(const device::Device& device, const std::string& key) {
  std::string base = foundation::NSLocalizedString(device.mainBundle, key);
  return inRecordedLanguage(device, key, SharedSettingsStore::open(device), std::move(base));
}

std::string localizedWidgetString(const device::Device& device, const std::string& key,
                                  const std::optional<SharedSettingsStore>& store) {
  return inRecordedLanguage(device, key, store,
                            foundation::NSLocalizedString(device.mainBundle, key));
}

}  // namespace tamsa
