#include <gtest/gtest.h>
#include <plist/plist.h>

#include "platform/foundation/BinaryPlistWriter.h"
#include "platform/foundation/PropertyList.h"

namespace foundation {
namespace {

using testing::BinaryPlistWriter;

PlistValue str(std::string s) {
  return PlistValue{std::move(s)};
}
PlistValue integer(std::int64_t v) {
  return PlistValue{PlistInteger{v, false}};
}

// One of each kind of object, as libplist (and the platform) writes them.
std::string everyKind() {
  plist_t dict = plist_new_dict();
  plist_dict_set_item(dict, "yes", plist_new_bool(1));
  plist_dict_set_item(dict, "word", plist_new_uint(4000000000ULL));
  plist_dict_set_item(dict, "negative", plist_new_uint(static_cast<std::uint64_t>(-3)));
  plist_dict_set_item(dict, "real", plist_new_real(1234.5));
  plist_dict_set_item(dict, "date", plist_new_date(721692800, 0));
  plist_dict_set_item(dict, "data", plist_new_data("\x00\x01\xFF", 3));
  plist_dict_set_item(dict, "text", plist_new_string("\xE2\x82\xAC \xF0\x9F\x98\x80"));
  plist_dict_set_item(dict, "uid", plist_new_uid(7));
  plist_t array = plist_new_array();
  for (int i = 0; i < 300; ++i) plist_array_append_item(array, plist_new_uint(i));
  plist_dict_set_item(dict, "many", array);
  char* bin = nullptr;
  std::uint32_t length = 0;
  plist_to_bin(dict, &bin, &length);
  plist_free(dict);
  std::string bytes(bin, length);
  plist_to_bin_free(bin);
  return bytes;
}

TEST(BinaryPropertyList, ReadsEveryKindOfObject) {
  auto list = readPropertyList(everyKind());
  ASSERT_TRUE(list);
  const auto& d = std::get<PlistDictionary>(list->value);
  EXPECT_EQ(d.at("yes"), PlistValue{true});
  EXPECT_EQ(d.at("word"), integer(4000000000LL));
  EXPECT_EQ(d.at("negative"), integer(-3));
  EXPECT_EQ(d.at("real"), PlistValue{1234.5});
  EXPECT_EQ(d.at("date"), PlistValue{Date{1700000000.0}});
  EXPECT_EQ(d.at("data"), (PlistValue{PlistData{std::string("\x00\x01\xFF", 3)}}));
  EXPECT_EQ(d.at("text"), str("\xE2\x82\xAC \xF0\x9F\x98\x80"));
  EXPECT_EQ(d.at("uid"), (PlistValue{PlistDictionary{{"CF$UID", integer(7)}}}));
  EXPECT_EQ(std::get<PlistArray>(d.at("many").value).at(299), integer(299));
}

TEST(BinaryPropertyList, CopiesSharedReferencesAndReplacesLoneSurrogates) {
  BinaryPlistWriter w;
  int shared = w.utf16({u'a', char16_t(0xD800), u'b', char16_t(0xDC00)});
  int inner = w.array({shared, shared});
  auto list = readPropertyList(w.build(w.array({inner, inner, shared})));
  PlistValue text =
      str("a\xEF\xBF\xBD"
          "b\xEF\xBF\xBD");
  PlistValue pair{PlistArray{text, text}};
  EXPECT_EQ(list, (PlistValue{PlistArray{pair, pair, text}}));
}

TEST(BinaryPropertyList, RejectsEveryTruncationAndTrailingBytes) {
  std::string bytes = everyKind();
  for (std::size_t n = 0; n < bytes.size(); n += 3)
    EXPECT_FALSE(readPropertyList(bytes.substr(0, n))) << "length " << n;
  EXPECT_FALSE(readPropertyList(bytes + std::string(1, '\0')));
}

// Trailer fields one off or overflowing, and markers of kinds the reader does not take.
TEST(BinaryPropertyList, RejectsDamagedTrailersAndUnsupportedMarkers) {
  BinaryPlistWriter w;
  const std::string good = w.build(w.dict({{w.ascii("k"), w.integer(5)}}));
  ASSERT_TRUE(readPropertyList(good));
  const std::size_t trailer = good.size() - 32;
  struct Case {
    std::size_t at;
    std::uint64_t value;
    int width;
  };
  for (const Case& c : std::vector<Case>{{trailer + 8, 0, 8},           // no objects
                                         {trailer + 16, 3, 8},          // top index = count
                                         {trailer + 8, 1ULL << 62, 8},  // table size overflows
                                         {trailer + 8, 4, 8},         // table runs into the trailer
                                         {trailer + 6, 0, 1},         // offset size 0
                                         {trailer + 6, 16, 1},        // offset size wider than 8
                                         {trailer + 24, trailer, 8},  // table at the trailer
                                         {trailer + 24, ~0ULL - 10, 8},  // table offset overflows
                                         {8, 0x70, 1},                   // UTF-8 string
                                         {8, 0xC0, 1},                   // set
                                         {8, 0xF0, 1},                   // unknown kind
                                         {8, 0x24, 1},                   // 16-byte real
                                         {8, 0x34, 1}}) {                // 16-byte date
    std::string bytes = good;
    bytes.replace(c.at, static_cast<std::size_t>(c.width), BinaryPlistWriter::be(c.value, c.width));
    EXPECT_FALSE(readPropertyList(bytes)) << c.at << " = " << c.value;
  }
}

TEST(BinaryPropertyList, CapsNesting) {
  for (int depth : {maxPropertyListDepth, maxPropertyListDepth + 1}) {
    BinaryPlistWriter w;
    int inner = w.array({});
    for (int i = 1; i < depth; ++i) inner = w.array({inner});
    EXPECT_EQ(readPropertyList(w.build(inner)).has_value(), depth == maxPropertyListDepth);
  }
}

// 2^15 copies of one leaf through shared references: 64 per value plus the leaf's text bytes (3
// per UTF-16 unit) must stay within 32 MiB plus 16 per file byte. One more byte tips it over.
TEST(BinaryPropertyList, CapsTheExpansionOfSharedReferencesToTheByte) {
  struct Case {
    char kind;
    std::size_t length;
    bool accepted;
  };
  for (const Case& c : std::vector<Case>{{'a', 896, true},
                                         {'a', 897, false},
                                         {'d', 896, true},
                                         {'d', 897, false},
                                         {'u', 298, true},
                                         {'u', 299, false}}) {
    BinaryPlistWriter w;
    int node = c.kind == 'a'   ? w.ascii(std::string(c.length, 'x'))
               : c.kind == 'd' ? w.data(std::string(c.length, 'x'))
                               : w.utf16(std::u16string(c.length, u'x'));
    for (int i = 0; i < 15; ++i) node = w.array({node, node});
    EXPECT_EQ(readPropertyList(w.build(node)).has_value(), c.accepted) << c.kind << c.length;
  }
  BinaryPlistWriter w;
  int node = w.ascii("leaf");
  for (int i = 0; i < 64; ++i) node = w.array({node, node});
  EXPECT_FALSE(readPropertyList(w.build(node)));
}

}  // namespace
}  // namespace foundation
