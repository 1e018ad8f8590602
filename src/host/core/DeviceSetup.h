// Sets up the device the extension runs on from the host's options and the environment.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "host/core/HostOptions.h"
#include "host/core/InstallPaths.h"
#include "host/core/Result.h"
#include "platform/device/Device.h"

namespace host {

using Getenv = std::function<const char*(const char*)>;

// The device; a usage failure naming the option when the resources folder is not a folder.
Result<device::Device> makeDevice(const DeviceOptions& options, const Getenv& getenv,
                                  const InstallPaths& paths);

// The locale the environment names (LC_ALL, LC_TIME, LANG, the first one set), without codeset
// or modifier; "en_US" when none is set, for C and POSIX, and for one the system does not know.
std::string localeFromEnvironment(const Getenv& getenv);

bool isKnownTimeZone(const std::string& identifier);

// The device as it would be with the system set to this language (its bundle's tables chosen
// for it); the device as it is when the bundle cannot be opened again.
device::Device deviceInLanguage(const device::Device& base, const std::string& language);

}  // namespace host
