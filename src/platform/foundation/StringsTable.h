// A string table (".strings" file): keys to texts. Read from the old text format (`"key" =
// "value";`) or from a binary or XML property list whose top is a dictionary; in a property list,
// entries whose value is not a string are skipped. A table that is malformed in any way (bad
// encoding, unterminated string or comment, missing ";", a non-string value in the text format,
// a file above maxFileBytes) is not read at all. A table is an immutable value, thread-safe.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/FileSystem.h"

namespace foundation {

struct StringsTableListing;

class StringsTable {
 public:
  using Entries = std::map<std::string, std::string, std::less<>>;

  // Larger files are treated as missing.
  static constexpr std::size_t maxFileBytes = 8u << 20;

  // Text format: a byte-order mark selects UTF-8, UTF-16 LE/BE or UTF-32 LE/BE, else UTF-8. Text
  // that is not valid in its encoding (a lone surrogate in UTF-16 included) is malformed; a lone
  // surrogate written as a \U escape becomes U+FFFD. Octal escapes above \177 are read as Latin-1
  // (the platform maps them through its NeXTSTEP table). The last of duplicate keys wins.
  static std::optional<StringsTable> parse(std::string_view bytes);
  // Reads and parses the file at path; nothing when it is missing, unreadable, too large or
  // malformed.
  static std::optional<StringsTable> load(const os::FileSystem& fileSystem,
                                          const std::string& path);

  explicit StringsTable(Entries entries = {}) : entries_(std::move(entries)) {}

  // The key's text, or nothing when the table lacks the key.
  std::optional<std::string> find(std::string_view key) const;
  const Entries& entries() const { return entries_; }

  bool operator==(const StringsTable&) const = default;

  // What a table's file says beyond its entries, for tools that point translators at lines. Slower
  // than parse(); the widget's lookups never need it.
  struct Position {
    int line = 1;
    int column = 1;  // in characters
    bool operator==(const Position&) const = default;
  };
  enum class Format { text, propertyList };
  enum class Problem {
    tooLarge,        // above maxFileBytes
    encoding,        // not valid in the encoding its byte-order mark (or none: UTF-8) names
    syntax,          // the text format does not parse
    notADictionary,  // a property list whose top is not a dictionary, or that does not parse
  };
  struct Definition {
    std::string key;
    int line = 0;  // 0: not known (a property list)
  };
  static StringsTableListing list(std::string_view bytes);

 private:
  Entries entries_;
};

// What StringsTable::list finds in a file.
struct StringsTableListing {
  StringsTable::Format format = StringsTable::Format::text;
  std::vector<StringsTable::Definition> definitions;  // in file order, every duplicate included
  std::optional<StringsTable::Problem> problem;       // the table is then read as missing
  StringsTable::Position problemAt;   // where the first problem is, when there is one
  std::optional<StringsTable> table;  // what parse() gives
};

}  // namespace foundation
