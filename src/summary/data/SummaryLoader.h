// Building summary entries: from the shared store, the fixed fallback when the store cannot be
// opened, and the sample entry for placeholders and previews. Stateless and thread-safe.
#pragma once

#include <cstdint>
#include <string>

#include "platform/device/Device.h"
#include "summary/data/TamsaSummaryEntry.h"

namespace tamsa {

// Reads the store afresh and builds an entry dated now; a store that cannot be opened gives
// fallbackSummaryEntry. Never fails.
TamsaSummaryEntry loadSummaryEntry(const device::Device& device);

// Signed out, zero amounts, "$", and the fixed English labels.
TamsaSummaryEntry fallbackSummaryEntry(foundation::Date now);

// The sample entry: built once per process on first use, from the clock of that first use, and
// then shared. Concurrent first uses build it once.
const TamsaSummaryEntry& sampleSummaryEntry(const foundation::Clock& clock);
// How the sample is built (a fresh one on every call): the clock is read twice, for date then
// lastUpdate.
TamsaSummaryEntry makeSampleSummaryEntry(const foundation::Clock& clock);

// The period label for a period code ("day", "week", ...; anything else is the month).
std::string makePeriodLabel(const device::Device& device, const std::string& periodType);

// The wallet label: a count for "multi", the all-wallets text for "all" or when no names are
// given, else the names unchanged.
std::string makeWalletLabel(const device::Device& device, const std::string& walletMode,
                            const std::string& walletNames, std::int64_t walletCount);

}  // namespace tamsa
