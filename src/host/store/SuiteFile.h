// The suite file of the app group's store, read and replaced the way the host app leaves it:
// "<container>/Library/Preferences/<suite>.plist", a binary property list. A reading never
// follows a symbolic link and never takes a folder for the suite; a write replaces the file whole
// (a synced temporary file renamed over it), keeps its permissions, makes the folders it needs
// and never writes through a symbolic link inside the container. Not thread-safe across writers:
// two writers at once keep one of their suites whole, not both edits.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

#include "host/core/Result.h"
#include "platform/foundation/PropertyList.h"

namespace host {

struct SuiteFile {
  std::filesystem::path container;
  std::filesystem::path path;  // the plist itself

  static SuiteFile in(const std::filesystem::path& container);
};

// What is found where the suite should be.
struct SuiteReading {
  enum class Found { noContainer, containerNotFolder, noSuite, suite };
  Found found = Found::noSuite;
  // The suite's values (empty when there is no suite); nothing when the file does not parse as a
  // dictionary (see `problem`).
  std::optional<foundation::PlistDictionary> values;
  std::string problem;
  std::optional<mode_t> mode;  // an existing file's permission bits
};

// A runtime failure for a suite that is a symbolic link, a folder or another special file, or
// that cannot be read; an empty file reads as an empty suite.
Result<SuiteReading> readSuite(const SuiteFile& suite);

// Replaces the suite with the values (keeping `mode` when given, else private to the user); a
// runtime failure, the old suite left as it was, when the list would be larger than the widget
// reads or a folder or the file cannot be written.
Outcome writeSuite(const SuiteFile& suite, const foundation::PlistDictionary& values,
                   std::optional<mode_t> mode);

}  // namespace host
