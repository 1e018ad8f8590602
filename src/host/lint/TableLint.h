// The translators' lint: every string table of a bundle checked against the development
// language's ("en") and against the keys the extension uses (tamsa::localizedKeys). It reads the
// tables through an os::FileSystem and never changes them. Pure function of the files; safe to
// call from several threads.
#pragma once

#include <string>
#include <vector>

#include "host/core/Names.h"
#include "platform/os/FileSystem.h"

namespace host {

enum class LintKind {
  unreadable,    // missing, too large, wrong encoding or does not parse: read as missing
  missingKey,    // a key the extension uses that the table lacks
  unusedKey,     // a key nothing uses
  placeholders,  // format conversions that differ from what the key's use allows
  emptyValue,    // a text that shows nothing
  untranslated,  // the same text as the development language's where a translation is due
  duplicateKey,  // a key defined again; the platform uses the last definition
};

struct LintProblem {
  std::string file;  // relative to the resources: "de.lproj/Localizable.strings"
  int line = 1;      // 1 for the file as a whole, a missing key, or a property list's key
  std::string key;   // empty: the file as a whole
  LintKind kind = LintKind::unreadable;
  std::string message;
  bool operator==(const LintProblem&) const = default;
};

struct LintReport {
  std::vector<std::string> tables;    // the files checked, in order
  std::vector<LintProblem> problems;  // by file, then line
};

inline constexpr const char* developmentLanguage = "en";

// Lints every "<language>.lproj/Localizable.strings" under `resources`.
LintReport lintStringTables(const os::FileSystem& fileSystem, const std::string& resources);

// The format conversions in `text`, as written ("%@", "%1$@", "%d"); "%%" is no conversion.
std::vector<std::string> formatConversions(const std::string& text);

// The kinds' words, as --json prints them.
inline constexpr Names<LintKind, 7> kLintKindNames{{{LintKind::unreadable, "unreadable"},
                                                    {LintKind::missingKey, "missing-key"},
                                                    {LintKind::unusedKey, "unused-key"},
                                                    {LintKind::placeholders, "placeholders"},
                                                    {LintKind::emptyValue, "empty"},
                                                    {LintKind::untranslated, "untranslated"},
                                                    {LintKind::duplicateKey, "duplicate-key"}}};

}  // namespace host
