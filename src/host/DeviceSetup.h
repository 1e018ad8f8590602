// Sets up the device the extension runs on from the host's options and environment.
#pragma once

#include <functional>
#include <string>
#include <variant>

#include "host/HostOptions.h"
#include "platform/device/Device.h"

namespace host {

using Getenv = std::function<const char*(const char*)>;

// The device, or a one-line message naming the bad option and what it accepts.
std::variant<device::Device, std::string> makeDevice(const HostOptions& options,
                                                     const Getenv& getenv);

// The locale the environment names (LC_ALL, LC_TIME, LANG), "en_US" when none does.
std::string localeFromEnvironment(const Getenv& getenv);

}  // namespace host
