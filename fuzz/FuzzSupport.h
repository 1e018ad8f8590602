// What the fuzz targets share: a NaN-aware comparison of property-list values, writers that turn
// a value back into binary, XML and string-table text (so a target can check that what a reader
// accepted reads back the same), devices for the loader, and printable renderings for messages.
// All functions are pure or build fresh values; thread-safe.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/device/Device.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/StringsTable.h"
#include "summary/data/TamsaSummaryEntry.h"

namespace tamsa_fuzz {

// Equal trees, where two NaNs of the same kind of value are equal.
bool sameValue(const foundation::PlistValue& a, const foundation::PlistValue& b);

struct ValueShape {
  std::size_t nodes = 0;   // every value, keys not counted
  int depth = 0;           // containers on the deepest path
  bool textIsUtf8 = true;  // every string and key is valid UTF-8
  bool hasDate = false;
  bool hasNonFiniteReal = false;
};
ValueShape shapeOf(const foundation::PlistValue& value);

// The value as a "bplist00" file (no sharing) and as an XML property list.
std::string binaryPlist(const foundation::PlistValue& value);
std::string xmlPlist(const foundation::PlistValue& value);

// The entries as an old-style text table that reads back to the same entries.
std::string textTable(const foundation::StringsTable::Entries& entries);

// UTF-8 to UTF-16 units; a malformed byte becomes U+FFFD.
std::u16string toUtf16(std::string_view utf8);
// Valid UTF-8 with each malformed byte replaced by U+FFFD.
std::string lossyUtf8(std::string_view bytes);

// Bytes with non-printable characters escaped, cut after limit bytes, for failure messages.
std::string printable(std::string_view bytes, std::size_t limit = 200);

// A device on an in-memory file system: the store file holds storeBytes (none when nothing), and
// the main bundle has an English table of the given entries (plus any other tables, by language).
device::Device memoryDevice(std::optional<std::string> storeBytes,
                            const std::map<std::string, foundation::StringsTable::Entries>& tables);
// The English texts the loader's labels use, with "%@ wallets" as the wallet-count format.
const foundation::StringsTable::Entries& englishLabels();

// Equal in every field but the date (amounts compared NaN-aware).
bool sameEntryButDate(const tamsa::TamsaSummaryEntry& a, const tamsa::TamsaSummaryEntry& b);
std::string describe(const tamsa::TamsaSummaryEntry& entry);

// The store outcome shared by the store targets: the loader, run on a suite file of these bytes,
// gives the empty-store entry when the file does not read as a dictionary, and otherwise takes
// the sign-in state, symbol and amounts from the dictionary as documented.
void checkStoreOutcome(std::string_view bytes);

}  // namespace tamsa_fuzz

namespace tamsa_fuzz {

// What every accepted list must be: text in valid UTF-8, nesting within the cap, a size bounded by
// the file's, and (when small enough to rewrite) the same value after writing it as a binary list
// and reading that back.
void checkAcceptedList(std::string_view bytes, const foundation::PlistValue& value);

}  // namespace tamsa_fuzz
