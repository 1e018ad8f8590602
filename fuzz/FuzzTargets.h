// The fuzz targets. Each takes one input and checks the documented outcome for it (see
// fuzz/README.md). Built as libFuzzer programs (fuzz_<name>) and, for the corpus replay test,
// as plain functions.
#pragma once

#include <string_view>

namespace tamsa_fuzz {

// The suite file as a binary property list, then through the store and the loader.
void fuzzStoreBinary(std::string_view data);
// The suite file as an XML property list, then through the store and the loader.
void fuzzStoreXml(std::string_view data);
// A string table. The first byte picks an encoding for the rest (0: the bytes as they are).
void fuzzStringsTable(std::string_view data);
// The wallet-count and last-update conversions, alone and through the loader.
void fuzzNumberConversions(std::string_view data);
// The wallet-count format. The first byte gives the count's length, then the count, then the
// format.
void fuzzWalletCountFormat(std::string_view data);
// localizedWidgetString with the data as the recorded override name.
void fuzzLocalizedWidgetString(std::string_view data);

}  // namespace tamsa_fuzz
