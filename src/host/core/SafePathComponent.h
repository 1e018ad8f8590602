// Names taken from data (languages, kinds, scenarios) become path components only through
// safePathComponent, so none can leave the folder it is written into.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace host {

// `name` when it is a plain, short file name ([A-Za-z0-9._-], not starting with "."); else a
// stand-in made of "_", the hex of its first bytes and a hash of the whole, which no plain name
// can equal.
std::string safePathComponent(const std::string& name);

// A hash of the bytes that is the same on every machine and run (64-bit FNV-1a).
std::uint64_t stableHash(std::string_view bytes);

}  // namespace host
