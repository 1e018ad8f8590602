// The texts the summary layouts show for amounts and for the time of the host app's last update.
// Amounts are always written in "en_US" digits whatever the device's locale; the update time
// follows the device's locale, time zone and 24-hour switch.
//
// Thread-safety: all functions may be called from any thread. The amount formatter is built once,
// on first use, under a once-only guard, and is read-only afterwards.
#pragma once

#include <string>

#include "platform/device/Device.h"
#include "platform/foundation/NumberFormatter.h"
#include "summary/data/TamsaSummaryEntry.h"

namespace tamsa {

// The process-wide amount formatter: decimal, "en_US", 0 to 2 fraction digits, half-even.
const foundation::NumberFormatter& amountFormatter();

// Sign ("-" only when value < 0), then the entry's currency symbol as stored, then |value| as the
// amount formatter writes it ("0" if it writes nothing): -$1,234.5, $0.12, €1,850.
std::string amountText(const TamsaSummaryEntry& entry, double value);

// The entry's last update as a short time of day on the device (no date), or "--:--" without one.
std::string lastUpdateText(const TamsaSummaryEntry& entry, const device::Device& device);

}  // namespace tamsa
