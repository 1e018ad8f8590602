#include "platform/foundation/StringsTable.h"

#include <gtest/gtest.h>

#include "platform/os/MemoryFileSystem.h"

namespace foundation {
namespace {

using Entries = StringsTable::Entries;

std::optional<Entries> entries(std::string_view bytes) {
  auto table = StringsTable::parse(bytes);
  return table ? std::optional(table->entries()) : std::nullopt;
}

TEST(StringsTable, ReadsEachKindOfEntryAndEscape) {
  const Entries want = {{"quoted", "Quoted"},
                        {"single", "say \"hi\""},
                        {"unquoted_Token$1", "path/to:file.name-2"},
                        {"bare", "bare"},
                        {"spaced", "value"},
                        {"dup", "2"},
                        {"", "empty key"},
                        {"controls", "\a\b\f\n\r\t\v\"\\'q"},
                        {"newline", "a\nb"},
                        {"octal", "A12\x07\u00E9"},
                        {"unicode", "\u20ACA\U0001F600\uFFFD!"}};
  EXPECT_EQ(
      entries("{ /* header\n comment */ \"quoted\" = \"Quoted\";  // to end of line\n"
              "'single' = 'say \"hi\"'; unquoted_Token$1 = path/to:file.name-2; \"bare\";\n"
              "\"spaced\"\t=\r\n\"value\"\xE2\x80\xA8; \"dup\" = \"first\"; \"dup\" = \"2\";\n"
              "\"\" = \"empty key\"; \"controls\" = \"\\a\\b\\f\\n\\r\\t\\v\\\"\\\\\\'\\q\";\n"
              "\"newline\" = \"a\\\nb\"; \"octal\" = \"\\101\\0612\\7\\351\";\n"
              "\"unicode\" = \"\\U20AC\\U41\\UD83D\\UDE00\\UD83D!\"; }"),
      want);
  // Grammar faults; unterminated strings and comments, bad UTF-8 and UTF-16 are hostile files.
  for (const char* bytes :
       {"\"k\" = \"v\"", "\"k\" = \"v\" \"k2\";", "\"k\" \"v\";", "\"k\" = ;", "\"k\" = (\"a\");",
        "\"k\" = \"v\"; }", "{ \"k\" = \"v\";", "k@ = \"v\";"})
    EXPECT_FALSE(StringsTable::parse(bytes)) << bytes;
}

// The shipped forms: UTF-16 with either mark, binary and XML lists (non-strings skipped), and
// UTF-32.
TEST(StringsTable, ReadsEveryShippedFormAndEncoding) {
  const std::string bundle = std::string(TAMSA_TEST_DATA) + "/foundation/Widget.bundle/";
  auto load = [&](const char* table, const char* key) {
    return StringsTable::load(*os::posixFileSystem(), bundle + table + ".lproj/Localizable.strings")
        ->find(key);
  };
  EXPECT_EQ(load("de", "widget_income"), "Einnahmen \xE2\x86\x92 \"gru00fcn\"");
  EXPECT_EQ(load("pt-BR", "widget_period_day"),
            "Hoje \xF0\x9F\x98\x80\xF3\xB0\x80\x80\xF4\x8F\xBF\xBF");
  EXPECT_EQ(load("zh-Hans", "widget_period_day"), "\xE4\xBB\x8A\xE5\xA4\xA9");
  EXPECT_EQ(load("zh-Hans", "count"), std::nullopt);
  EXPECT_EQ(load("fr", "widget_period_day"), "Aujourd\xE2\x80\x99hui");
  // UTF-8 with a byte-order mark, as some editors save it.
  EXPECT_EQ(entries("\xEF\xBB\xBF\"a\" = \"b\";"), (Entries{{"a", "b"}}));
}

TEST(StringsTable, RejectsMissingAndOversizedFiles) {
  os::MemoryFileSystem fs;
  fs.addFile("/ok", "\"a\" = \"b\";" + std::string(StringsTable::maxFileBytes - 10, ' '));
  fs.addFile("/big", "\"a\" = \"b\";" + std::string(StringsTable::maxFileBytes - 9, ' '));
  EXPECT_EQ(StringsTable::load(fs, "/ok")->find("a"), "b");
  EXPECT_FALSE(StringsTable::load(fs, "/big") || StringsTable::load(fs, "/missing"));
}

// A translator is pointed at the first character that is not valid, whatever the encoding.
TEST(StringsTable, ListsWhereTheTextStopsBeingValidInEachEncoding) {
  const std::string text = "\"a\" = \"b\";\n\"c";
  auto wide = [&](std::string out, int width, bool bigEndian, std::uint32_t bad) {
    for (std::uint32_t unit : std::u32string(text.begin(), text.end()) + char32_t(bad) + U'"')
      for (int k = 0; k < width; ++k)
        out += static_cast<char>(unit >> 8 * (bigEndian ? width - 1 - k : k) & 0xFF);
    return out;
  };
  for (const std::string& bytes :
       {text + "\xFF\"", "\xEF\xBB\xBF" + text + "\xC0\x80\"", wide("\xFF\xFE", 2, false, 0xDC00),
        wide("\xFE\xFF", 2, true, 0xD800), wide({"\xFF\xFE\0\0", 4}, 4, false, 0xD800),
        wide({"\0\0\xFE\xFF", 4}, 4, true, 0x110000)}) {
    auto listing = StringsTable::list(bytes);
    EXPECT_EQ(listing.problem, StringsTable::Problem::encoding) << testing::PrintToString(bytes);
    EXPECT_EQ(listing.problemAt, (StringsTable::Position{2, 3})) << testing::PrintToString(bytes);
    EXPECT_FALSE(StringsTable::parse(bytes));
  }
}

}  // namespace
}  // namespace foundation
