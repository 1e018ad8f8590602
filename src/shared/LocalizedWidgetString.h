// Localized texts, in the language the host application recorded under "widget_language" when the
// bundle carries it, else in the system's language. Never fails: a key no table holds comes back
// as itself. Keeps no state; every call reads the store and the tables afresh, so a change of the
// recorded language shows at the very next call. Thread-safe.
#pragma once

#include <optional>
#include <string>

#include "platform/device/Device.h"
#include "shared/SharedSettingsStore.h"

namespace tamsa {

std::string localizedWidgetString(const device::Device& device, const std::string& key);

// The same lookup in the recorded language of a store the caller has already opened (nothing: the
// store could not be opened). A caller that reads figures and looks up labels for one entry passes
// its own opening, so that a store rewritten meanwhile cannot give the labels another version's
// language.
std::string localizedWidgetString(const device::Device& device, const std::string& key,
                                  const std::optional<SharedSettingsStore>& store);

// The localization the widget's own texts come from, by the same rule as the lookup: the recorded
// language when the bundle has a directory of that name, else the one chosen for the system's
// languages; nothing when the bundle has none.
std::optional<std::string> widgetTextLanguage(const device::Device& device);

// True when a recorded language can only name one directory at the bundle's top
// (os::isSingleFileName).
bool isPlainLocalizationName(const std::string& name);

}  // namespace tamsa
