// Localized texts, in the language the host application recorded under "widget_language" when the
// bundle carries it, else in the system's language. Never fails: a key no table holds comes back
// as itself. Keeps no state; every call reads the store and the tables afresh, so a change of the
// recorded language shows at the very next call. Thread-safe.
#pragma once

#include <string>

#include "platform/device/Device.h"

namespace tamsa {

std::string localizedWidgetString(const device::Device& device, const std::string& key);

// True when name can only mean one directory at the bundle's top: not empty, no "/", "\\" or
// NUL, and not "." or "..".
bool isPlainLocalizationName(const std::string& name);

}  // namespace tamsa
