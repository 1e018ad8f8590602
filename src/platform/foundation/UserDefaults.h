// NSUserDefaults for an app-group suite, read-only. Opening reads the suite's property-list file
// "<container>/Library/Preferences/<suite>.plist" whole, until two readings in a row agree; the
// store then answers from that reading, so a file replaced or rewritten meanwhile never gives a
// mix of old and new values. A store is an
// immutable value, safe to read from any thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/PropertyList.h"
#include "platform/os/FileSystem.h"

namespace foundation {

class UserDefaults {
 public:
  // Files larger than this are treated as unreadable.
  static constexpr std::size_t maxFileBytes = 4u << 20;

  // initWithSuiteName: nothing when the container is missing or not a directory. Otherwise a
  // store; it is empty (every key absent) when the suite file is missing, unreadable, too large,
  // malformed, or not a dictionary at its top.
  static std::optional<UserDefaults> open(const os::FileSystem& fileSystem,
                                          const std::string& containerPath,
                                          const std::string& suiteName);

  // stringForKey: a string gives itself; a number its plain decimal text (integers as digits,
  // reals with up to 17 significant digits and no trailing ".0"); a boolean "1" or "0"; any other
  // value, or an absent key, nothing.
  std::optional<std::string> stringForKey(std::string_view key) const;
  // doubleForKey: a number its value; a boolean 1 or 0; a string converted as CoreFoundation does
  // (leading white space skipped, the longest prefix of "0-9+-.eE" read in the C locale, 0 when
  // nothing usable); anything else, or an absent key, 0.
  double doubleForKey(std::string_view key) const;

 private:
  explicit UserDefaults(PlistDictionary values) : values_(std::move(values)) {}
  PlistDictionary values_;
};

}  // namespace foundation
