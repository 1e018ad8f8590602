#include "platform/foundation/StringsTable.h"

#include <gtest/gtest.h>

#include "platform/foundation/BinaryPlistWriter.h"
#include "platform/os/MemoryFileSystem.h"

namespace foundation {
namespace {

using Entries = StringsTable::Entries;

std::optional<Entries> entries(std::string_view bytes) {
  auto table = StringsTable::parse(bytes);
  if (!table) return std::nullopt;
  return table->entries();
}

TEST(StringsTableText, ReadsEachKindOfEntryAndEscape) {
  auto e = entries(
      "{ /* header\n comment */\n"
      "\"quoted\" = \"Quoted\";  // to end of line\n"
      "'single' = 'say \"hi\"';\n"
      "unquoted_Token$1 = path/to:file.name-2;\n"
      "\"bare\";\n"
      "\"spaced\"\t=\r\n\"value\"\xE2\x80\xA8;\n"
      "\"dup\" = \"first\"; \"dup\" = \"second\";\n"
      "\"\" = \"empty key\";\n"
      "\"controls\" = \"\\a\\b\\f\\n\\r\\t\\v\\\"\\\\\\'\\q\";\n"
      "\"newline\" = \"a\\\nb\";\n"
      "\"octal\" = \"\\101\\0612\\7\\351\";\n"
      "\"unicode\" = \"\\U20AC\\U41\\UD83D\\UDE00\\UD83D!\"; }");
  ASSERT_TRUE(e);
  EXPECT_EQ(*e, (Entries{{"quoted", "Quoted"},
                         {"single", "say \"hi\""},
                         {"unquoted_Token$1", "path/to:file.name-2"},
                         {"bare", "bare"},
                         {"spaced", "value"},
                         {"dup", "second"},
                         {"", "empty key"},
                         {"controls", "\a\b\f\n\r\t\v\"\\'q"},
                         {"newline", "a\nb"},
                         {"octal", "A12\x07\xC3\xA9"},
                         {"unicode",
                          "\xE2\x82\xAC"
                          "A\xF0\x9F\x98\x80\xEF\xBF\xBD!"}}));
}

TEST(StringsTableText, ReadsEveryEncodingByItsMark) {
  const std::u32string text = U"\"k\" = \"\u20ac \U0001F600\";";
  auto encode = [&](std::string mark, int width, bool bigEndian) {
    std::vector<char32_t> units;
    for (char32_t c : text) {
      if (width == 2 && c > 0xFFFF) {
        units.push_back(0xD800 + ((c - 0x10000) >> 10));
        c = 0xDC00 + (c & 0x3FF);
      }
      units.push_back(c);
    }
    for (char32_t u : units)
      for (int i = 0; i < width; ++i)
        mark.push_back(static_cast<char>(u >> (8 * (bigEndian ? width - 1 - i : i))));
    return mark;
  };
  const Entries want{{"k", "\xE2\x82\xAC \xF0\x9F\x98\x80"}};
  EXPECT_EQ(entries(encode("\xFF\xFE", 2, false)), want);
  EXPECT_EQ(entries(encode("\xFE\xFF", 2, true)), want);
  EXPECT_EQ(entries(encode(std::string("\xFF\xFE\0\0", 4), 4, false)), want);
  EXPECT_EQ(entries(encode(std::string("\0\0\xFE\xFF", 4), 4, true)), want);
  EXPECT_EQ(entries("\xEF\xBB\xBF\"k\" = \"\xE2\x82\xAC \xF0\x9F\x98\x80\";"), want);
}

// Grammar faults; unterminated strings and comments, bad UTF-8 and UTF-16 are tests/data/hostile
// files.
TEST(StringsTableText, MalformedTablesAreNotRead) {
  EXPECT_EQ(entries("  // only a comment\n"), Entries{});
  for (const char* bytes :
       {"\"k\" = \"v\"", "\"k\" = \"v\" \"k2\";", "\"k\" \"v\";", "\"k\" = ;", "\"k\" = (\"a\");",
        "\"k\" = \"v\"; }", "{ \"k\" = \"v\";", "k@ = \"v\";"})
    EXPECT_FALSE(StringsTable::parse(bytes)) << bytes;
}

TEST(StringsTablePropertyList, ReadsTheStringsOfBinaryAndXmlDictionaries) {
  testing::BinaryPlistWriter w;
  std::string binary = w.build(w.dict({{w.ascii("a"), w.ascii("Alpha")},
                                       {w.ascii("n"), w.integer(3)},
                                       {w.utf16(u"b"), w.utf16(u"\u00df")}}));
  EXPECT_EQ(entries(binary), (Entries{{"a", "Alpha"}, {"b", "\xC3\x9F"}}));
  EXPECT_EQ(entries("<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict><key>a</key>"
                    "<string>Alpha</string><key>skip</key><array/></dict></plist>"),
            (Entries{{"a", "Alpha"}}));
  EXPECT_FALSE(StringsTable::parse(w.build(w.array({0}))));
}

TEST(StringsTableLoad, RejectsMissingAndOversizedFiles) {
  os::MemoryFileSystem fs;
  const std::string table = "\"a\" = \"b\";";
  fs.addFile("/ok.strings", table + std::string(StringsTable::maxFileBytes - table.size(), ' '));
  fs.addFile("/big.strings", table + std::string(StringsTable::maxFileBytes, ' '));
  EXPECT_EQ(StringsTable::load(fs, "/ok.strings")->find("a"), "b");
  EXPECT_EQ(StringsTable::load(fs, "/ok.strings")->find("b"), std::nullopt);
  EXPECT_FALSE(StringsTable::load(fs, "/missing.strings"));
  EXPECT_FALSE(StringsTable::load(fs, "/big.strings"));
}

}  // namespace
}  // namespace foundation
