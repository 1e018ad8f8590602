// String tables. Whatever the reader accepts is valid UTF-8 and reads back the same when written
// out as a text table; a text table reads the same in every encoding the platform recognises by
// its byte-order mark.
#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "platform/foundation/StringsTable.h"
#include "platform/foundation/Unicode.h"

namespace tamsa_fuzz {
namespace {

using foundation::StringsTable;

enum class Encoding { asIs, utf8Bom, utf16le, utf16be, utf32le, utf32be, count };

void putUnit(std::string& out, std::uint32_t unit, int width, bool bigEndian) {
  for (int i = 0; i < width; ++i) {
    int shift = 8 * (bigEndian ? width - 1 - i : i);
    out.push_back(static_cast<char>((unit >> shift) & 0xFF));
  }
}

// Valid UTF-8 text in the encoding, with its byte-order mark.
std::string encode(std::string_view utf8, Encoding encoding) {
  switch (encoding) {
    case Encoding::utf8Bom:
      return "\xEF\xBB\xBF" + std::string(utf8);
    case Encoding::utf16le:
    case Encoding::utf16be: {
      bool be = encoding == Encoding::utf16be;
      std::string out;
      putUnit(out, 0xFEFF, 2, be);
      for (char16_t u : toUtf16(utf8)) putUnit(out, u, 2, be);
      return out;
    }
    case Encoding::utf32le:
    case Encoding::utf32be: {
      bool be = encoding == Encoding::utf32be;
      std::string out;
      putUnit(out, 0xFEFF, 4, be);
      std::size_t pos = 0;
      char32_t c;
      while (pos < utf8.size() && foundation::unicode::decodeUtf8(utf8, pos, c))
        putUnit(out, c, 4, be);
      return out;
    }
    default:
      return std::string(utf8);
  }
}

std::string describe(const std::optional<StringsTable>& table) {
  if (!table) return "not read";
  std::string out = "{";
  for (const auto& [k, v] : table->entries())
    out += printable(k, 40) + ": " + printable(v, 40) + ", ";
  return out + "}";
}

}  // namespace

void fuzzStringsTable(std::string_view data) {
  if (data.empty()) return;
  auto encoding = static_cast<Encoding>(static_cast<unsigned char>(data[0]) %
                                        static_cast<unsigned>(Encoding::count));
  std::string_view text = data.substr(1);
  auto table = StringsTable::parse(text);
  if (table) {
    for (const auto& [key, value] : table->entries()) {
      FUZZ_CHECK(foundation::unicode::isValidUtf8(key) && foundation::unicode::isValidUtf8(value))
          << "not UTF-8: " << describe(table);
    }
    auto rewritten = StringsTable::parse(textTable(table->entries()));
    FUZZ_CHECK(rewritten == table)
        << "text rewrite of " << describe(table) << " reads as " << describe(rewritten);
  }
  // The same text behind a byte-order mark. A text that starts with a mark of its own, or as a
  // binary list, is something else once another mark stands before it; and UTF-16LE's mark
  // followed by U+0000 is UTF-32LE's mark.
  if (encoding == Encoding::asIs || !foundation::unicode::isValidUtf8(text) ||
      text.starts_with("\xEF\xBB\xBF") || text.starts_with("bplist") ||
      (encoding == Encoding::utf16le && text.starts_with('\0'))) {
    return;
  }
  auto encoded = StringsTable::parse(encode(text, encoding));
  FUZZ_CHECK(encoded == table) << "encoding " << static_cast<int>(encoding) << " of "
                               << printable(text) << " reads as " << describe(encoded) << ", not "
                               << describe(table);
}

}  // namespace tamsa_fuzz
