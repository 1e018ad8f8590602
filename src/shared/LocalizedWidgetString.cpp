#include "shared/LocalizedWidgetString.h"

#include "shared/SharedSettingsStore.h"

namespace tamsa {
namespace {

struct RecordedLanguage {
  std::string name;
  foundation::Bundle bundle;
};

// The recorded language when the bundle carries a directory of that name that opens as a bundle:
// the one rule for the table the widget's texts come from, and so for the language they are
// drawn in. Only a directory counts: a pseudo-language is no resource of the bundle.
std::optional<RecordedLanguage> recordedLanguage(const device::Device& device,
                                                 const std::optional<SharedSettingsStore>& store) {
  if (!store) return std::nullopt;
  auto language = store->stringForKey("widget_language");
  if (!language || language->empty()) return std::nullopt;
  // The name comes from another process's data: a path in it could leave the bundle.
  if (!isPlainLocalizationName(*language)) return std::nullopt;
  auto path = device.mainBundle.pathForResource(*language, "lproj");
  if (!path) return std::nullopt;
  auto languageBundle = foundation::Bundle::atPath(device.fileSystem, *path);
  if (!languageBundle) return std::nullopt;
  return RecordedLanguage{std::move(*language), std::move(*languageBundle)};
}

// Steps after the system-language text: the recorded language's table, falling back to base.
std::string inRecordedLanguage(const device::Device& device, const std::string& key,
                               const std::optional<SharedSettingsStore>& store, std::string base) {
  auto recorded = recordedLanguage(device, store);
  if (!recorded) return base;
  return recorded->bundle.localizedStringForKey(key, base);
}

}  // namespace

bool isPlainLocalizationName(const std::string& name) {
  return os::isSingleFileName(name);
}

std::optional<std::string> widgetTextLanguage(const device::Device& device) {
  if (auto recorded = recordedLanguage(device, SharedSettingsStore::open(device)))
    return std::move(recorded->name);
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
