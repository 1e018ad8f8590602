#include "host/lint/TableLint.h"

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>

#include "platform/foundation/StringFormat.h"
#include "platform/foundation/StringsTable.h"
#include "shared/LocalizedKeys.h"

namespace host {
namespace {

using foundation::StringsTable;

constexpr const char* kTableFile = "Localizable.strings";

struct Table {
  std::string file;
  bool found = true;
  foundation::StringsTableListing listing;
  std::map<std::string, int, std::less<>> lines;  // the line of the definition in effect
};

std::string quoted(std::string_view s) {
  return "\"" + std::string(s) + "\"";
}

std::string joined(const std::vector<std::string>& items) {
  if (items.empty()) return "none";
  std::string out;
  for (const auto& i : items) out += (out.empty() ? "" : " ") + i;
  return out;
}

const char* problemText(StringsTable::Problem p) {
  switch (p) {
    case StringsTable::Problem::tooLarge:
      return "is larger than the platform reads";
    case StringsTable::Problem::encoding:
      return "is not in an encoding the platform accepts (UTF-8, or UTF-16 or UTF-32 with a "
             "byte-order mark)";
    case StringsTable::Problem::syntax:
      return "does not parse";
    case StringsTable::Problem::notADictionary:
      return "is a property list that does not hold a dictionary of strings";
  }
  return "cannot be read";
}

class Linter {
 public:
  explicit Linter(LintReport& report) : report_(report) {}

  void add(const Table& t, int line, std::string_view key, LintKind kind, std::string message) {
    report_.problems.push_back({t.file, line, std::string(key), kind, std::move(message)});
  }

  int lineOf(const Table& t, std::string_view key) const {
    auto it = t.lines.find(key);
    return it == t.lines.end() || it->second == 0 ? 1 : it->second;
  }

  // Problems of one table on its own: reading, duplicates, empty values, unused keys.
  void checkAlone(const Table& t) {
    const auto& l = t.listing;
    if (l.problem) {
      std::string where;
      if (*l.problem == StringsTable::Problem::syntax ||
          *l.problem == StringsTable::Problem::encoding)
        where = " (first error at line " + std::to_string(l.problemAt.line) + ", column " +
                std::to_string(l.problemAt.column) + ")";
      add(t, l.problemAt.line, "", LintKind::unreadable,
          std::string("the table ") + problemText(*l.problem) + where +
              "; the widget treats it as missing");
      return;
    }
    std::map<std::string, std::vector<int>, std::less<>> seen;
    for (const auto& d : l.definitions) seen[d.key].push_back(d.line);
    for (const auto& [key, lines] : seen) {
      for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        add(t, lines[i], key, LintKind::duplicateKey,
            quoted(key) + " is defined again at line " + std::to_string(lines.back()) +
                "; the platform uses the last definition");
    }
    for (const auto& [key, value] : l.table->entries()) {
      bool used = std::any_of(tamsa::localizedKeys.begin(), tamsa::localizedKeys.end(),
                              [&](const auto& k) { return k.key == key; });
      if (!used)
        add(t, lineOf(t, key), key, LintKind::unusedKey, quoted(key) + " is used by nothing");
      if (value.empty())
        add(t, lineOf(t, key), key, LintKind::emptyValue, quoted(key) + " is empty");
    }
  }

  // Problems against the keys the extension uses and the development language's texts.
  void checkKeys(const Table& t, const std::optional<StringsTable>& development,
                 bool isDevelopment) {
    if (!t.listing.table) return;
    for (const auto& [key, use] : tamsa::localizedKeys) {
      auto value = t.listing.table->find(key);
      if (!value) {
        add(t, 1, key, LintKind::missingKey,
            quoted(key) + " is missing; the widget shows " +
                (isDevelopment ? "the key itself" : "the development language's text"));
        continue;
      }
      int line = lineOf(t, key);
      std::vector<std::string> conversions = formatConversions(*value);
      std::optional<std::string> base = development ? development->find(key) : std::nullopt;
      if (use == tamsa::KeyUse::walletFormat) {
        bool one = conversions.size() == 1 && (conversions[0] == "%@" || conversions[0] == "%1$@");
        if (!one)
          add(t, line, key, LintKind::placeholders,
              quoted(key) + " must hold exactly one %@ or %1$@ for the number of wallets (has: " +
                  joined(conversions) + "); other conversions are shown as written");
      } else if (base && !isDevelopment && conversions != formatConversions(*base)) {
        add(t, line, key, LintKind::placeholders,
            quoted(key) + " has placeholders " + joined(conversions) + " where " +
                developmentLanguage + " has " + joined(formatConversions(*base)) +
                "; this text is shown as written");
      }
      if (!isDevelopment && base && use != tamsa::KeyUse::unchanged && *value == *base &&
          !value->empty())
        add(t, line, key, LintKind::untranslated,
            quoted(key) + " is the same as in " + developmentLanguage + " (" + quoted(*value) +
                "): not translated?");
    }
  }

 private:
  LintReport& report_;
};

Table readTable(const os::FileSystem& fs, const std::string& resources, const std::string& dir) {
  Table t;
  t.file = dir + "/" + kTableFile;
  std::string path = resources + "/" + t.file;
  if (fs.kind(path) != os::FileKind::file) {
    t.found = false;
    return t;
  }
  auto bytes = fs.readFile(path, StringsTable::maxFileBytes + 1);
  if (!bytes) {
    t.listing.problem = StringsTable::Problem::tooLarge;
    return t;
  }
  t.listing = StringsTable::list(*bytes);
  for (const auto& d : t.listing.definitions) t.lines[d.key] = d.line;
  return t;
}

}  // namespace

std::vector<std::string> formatConversions(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '%') {
      ++i;
      continue;
    }
    std::size_t length = foundation::formatConversionLength(text, i);
    if (text.compare(i, length, "%%") != 0) out.push_back(text.substr(i, length));
    i += length;
  }
  return out;
}

LintReport lintStringTables(const os::FileSystem& fs, const std::string& resources) {
  LintReport report;
  Linter linter(report);
  std::vector<Table> tables;
  for (const auto& entry : fs.listDirectory(resources)) {
    if (!entry.ends_with(".lproj") || entry.size() == 6) continue;
    if (fs.kind(resources + "/" + entry) != os::FileKind::directory) continue;
    tables.push_back(readTable(fs, resources, entry));
    report.tables.push_back(tables.back().file);
  }
  const std::string developmentDir = std::string(developmentLanguage) + ".lproj";
  std::optional<StringsTable> development;
  bool hasDevelopment = false;
  for (const Table& t : tables) {
    if (t.file.rfind(developmentDir + "/", 0) != 0) continue;
    hasDevelopment = true;
    development = t.listing.table;
  }
  if (!hasDevelopment) {
    Table missing;
    missing.file = developmentDir + "/" + kTableFile;
    missing.found = false;
    report.tables.push_back(missing.file);
    tables.push_back(std::move(missing));
  }
  for (const Table& t : tables) {
    if (!t.found) {
      linter.add(t, 1, "", LintKind::unreadable,
                 "there is no such table; the widget treats the language as missing");
      continue;
    }
    linter.checkAlone(t);
    linter.checkKeys(t, development, t.file.rfind(developmentDir + "/", 0) == 0);
  }
  std::stable_sort(report.problems.begin(), report.problems.end(),
                   [](const LintProblem& a, const LintProblem& b) {
                     return std::tie(a.file, a.line) < std::tie(b.file, b.line);
                   });
  return report;
}

}  // namespace host
