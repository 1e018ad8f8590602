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

std::string utf16(std::u16string_view text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t u : text) {
    char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return out;
}

TEST(StringsTableText, ReadsEachKindOfEntry) {
  auto e = entries(
      "/* header\n comment */\n"
      "\"quoted\" = \"Quoted text\";  // to end of line\n"
      "'single' = 'say \"hi\"';\n"
      "unquoted_Token$1 = path/to:file.name-2;\n"
      "\"bare\";\n"
      "\"spaced\"\t=\r\n\"value\"\xE2\x80\xA8;\n"
      "\"dup\" = \"first\"; \"dup\" = \"second\";\n"
      "\"\" = \"empty key\";\n"
      "\"multi\nline\" = \"caf\xC3\xA9\";");
  ASSERT_TRUE(e);
  EXPECT_EQ(*e, (Entries{{"quoted", "Quoted text"},
                         {"single", "say \"hi\""},
                         {"unquoted_Token$1", "path/to:file.name-2"},
                         {"bare", "bare"},
                         {"spaced", "value"},
                         {"dup", "second"},
                         {"", "empty key"},
                         {"multi\nline", "caf\xC3\xA9"}}));
}

TEST(StringsTableText, ReadsEscapes) {
  auto e = entries(
      "\"controls\" = \"\\a\\b\\f\\n\\r\\t\\v\";\n"
      "\"quotes\" = \"\\\"\\\\\\'\";\n"
      "\"newline\" = \"a\\\nb\";\n"
      "\"octal\" = \"\\101\\0612\\7\\351\";\n"
      "\"unicode\" = \"\\U20AC\\U41\\Ux\";\n"
      "\"pair\" = \"\\UD83D\\UDE00\";\n"
      "\"lone\" = \"\\UD83D!\";\n"
      "\"other\" = \"\\q\\%\\\xC3\xA9\";\n");
  ASSERT_TRUE(e);
  EXPECT_EQ(e->at("controls"), "\a\b\f\n\r\t\v");
  EXPECT_EQ(e->at("quotes"), "\"\\'");
  EXPECT_EQ(e->at("newline"), "a\nb");
  EXPECT_EQ(e->at("octal"), std::string("A12\x07\xC3\xA9"));
  EXPECT_EQ(e->at("unicode"), std::string("\xE2\x82\xAC"
                                          "A") +
                                  std::string(1, '\0') + "x");
  EXPECT_EQ(e->at("pair"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(e->at("lone"), "\xEF\xBF\xBD!");
  EXPECT_EQ(e->at("other"), "q%\xC3\xA9");
}

TEST(StringsTableText, ReadsEveryEncoding) {
  std::u16string text = u"\"k\" = \"\u20ac \U0001F600\";";
  Entries want{{"k", "\xE2\x82\xAC \xF0\x9F\x98\x80"}};
  EXPECT_EQ(entries(utf16(text, false)), want);
  EXPECT_EQ(entries(utf16(text, true)), want);
  EXPECT_EQ(entries("\xEF\xBB\xBF\"k\" = \"\xE2\x82\xAC \xF0\x9F\x98\x80\";"), want);
  std::string be32 = std::string("\x00\x00\xFE\xFF", 4), le32 = std::string("\xFF\xFE\x00\x00", 4);
  for (char32_t c : std::u32string(U"\"k\" = \"\u20ac \U0001F600\";")) {
    for (int i = 3; i >= 0; --i) be32.push_back(static_cast<char>((c >> (8 * i)) & 0xFF));
    for (int i = 0; i < 4; ++i) le32.push_back(static_cast<char>((c >> (8 * i)) & 0xFF));
  }
  EXPECT_EQ(entries(be32), want);
  EXPECT_EQ(entries(le32), want);
}

TEST(StringsTableText, EmptyAndBracedTables) {
  EXPECT_EQ(entries(""), Entries{});
  EXPECT_EQ(entries("  // only a comment\n"), Entries{});
  EXPECT_EQ(entries("{ \"a\" = \"b\"; }"), (Entries{{"a", "b"}}));
}

// Grammar faults; unterminated strings and comments, bad UTF-8 and UTF-16 are tests/data/hostile
// files.
TEST(StringsTableText, MalformedTablesAreNotRead) {
  for (const char* bytes : {
           "\"k\" = \"v\"",          // missing ';'
           "\"k\" = \"v\" \"k2\";",  // missing ';' between entries
           "\"k\" \"v\";",           // missing '='
           "\"k\" = ;",              // missing value
           "\"k\" = (\"a\");",       // not a string value
           "\"k\" = \"v\"; }", "{ \"k\" = \"v\";",
           "k@ = \"v\";",  // '@' is no token character
       })
    EXPECT_FALSE(StringsTable::parse(bytes)) << bytes;
}

TEST(StringsTablePropertyList, ReadsBinaryAndXmlDictionaries) {
  testing::BinaryPlistWriter w;
  std::string binary = w.build(w.dict({{w.ascii("a"), w.ascii("Alpha")},
                                       {w.ascii("n"), w.integer(3)},
                                       {w.utf16(u"b"), w.utf16(u"\u00df")}}));
  EXPECT_EQ(entries(binary), (Entries{{"a", "Alpha"}, {"b", "\xC3\x9F"}}));

  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
      "<key>a</key><string>Alpha</string><key>skip</key><array/></dict></plist>";
  EXPECT_EQ(entries(xml), (Entries{{"a", "Alpha"}}));

  testing::BinaryPlistWriter top;
  EXPECT_FALSE(StringsTable::parse(top.build(top.array({top.ascii("a")}))));
  EXPECT_FALSE(StringsTable::parse(binary.substr(0, binary.size() - 3)));
}

TEST(StringsTableLoad, RejectsMissingAndOversizedFiles) {
  os::MemoryFileSystem fs;
  fs.addFile("/ok.strings", "\"a\" = \"b\";");
  fs.addFile("/big.strings", std::string(StringsTable::maxFileBytes + 1, ' '));
  EXPECT_EQ(StringsTable::load(fs, "/ok.strings")->find("a"), "b");
  EXPECT_EQ(StringsTable::load(fs, "/ok.strings")->find("b"), std::nullopt);
  EXPECT_FALSE(StringsTable::load(fs, "/missing.strings"));
  EXPECT_FALSE(StringsTable::load(fs, "/big.strings"));
  EXPECT_FALSE(StringsTable::parse(std::string(StringsTable::maxFileBytes + 1, ' ')));
}

}  // namespace
}  // namespace foundation
