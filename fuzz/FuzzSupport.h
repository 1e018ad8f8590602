// What the fuzz targets share: text made valid, a suite file of texts, a device on an in-memory
// file system, and the check every store target makes through the loader. Thread-safe.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/device/Device.h"

namespace tamsa_fuzz {

// Valid UTF-8 with each malformed byte replaced by U+FFFD.
std::string lossyUtf8(std::string_view bytes);

// A binary suite file holding the texts (valid UTF-8) under their keys.
std::string textStore(const std::map<std::string, std::string>& texts);

// A device whose suite file holds storeBytes and whose bundle has an English table with
// "%@ wallets" as the wallet-count format.
device::Device memoryDevice(std::string storeBytes);

// The loader on a suite file of these bytes gives the empty-store entry unless the bytes read as a
// dictionary, and then is signed in exactly when "widget_auth_status" is the text "logged_in".
void checkStoreOutcome(std::string_view bytes);

}  // namespace tamsa_fuzz
