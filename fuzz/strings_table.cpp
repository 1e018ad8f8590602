// String tables (the first byte is ignored, so inputs of older corpora keep working). Whatever
// the reader accepts is valid UTF-8 and reads back the same when written out as a text table.
#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "platform/foundation/StringsTable.h"
#include "platform/foundation/Unicode.h"

namespace tamsa_fuzz {

void fuzzStringsTable(std::string_view data) {
  if (data.empty()) return;
  auto table = foundation::StringsTable::parse(data.substr(1));
  if (!table) return;
  std::string text;
  auto quoted = [&](const std::string& s) {
    FUZZ_CHECK(foundation::unicode::isValidUtf8(s));
    text += '"';
    for (char c : s) text += c == '"' || c == '\\' ? std::string{'\\', c} : std::string{c};
    text += '"';
  };
  for (const auto& [key, value] : table->entries()) {
    quoted(key);
    text += " = ";
    quoted(value);
    text += ";\n";
  }
  FUZZ_CHECK(foundation::StringsTable::parse(text) == table);
}

}  // namespace tamsa_fuzz
