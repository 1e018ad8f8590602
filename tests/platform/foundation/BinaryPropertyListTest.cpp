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

// A small list with one of each kind of object.
std::string everyKind() {
  BinaryPlistWriter w;
  std::vector<std::pair<int, int>> entries = {
      {w.ascii("yes"), w.boolean(true)},
      {w.ascii("no"), w.boolean(false)},
      {w.ascii("byte"), w.integer(200)},
      {w.ascii("short"), w.integer(60000)},
      {w.ascii("word"), w.integer(4000000000LL)},
      {w.ascii("negative"), w.integer(-42)},
      {w.ascii("huge"), w.integer128(0, 0xFFFFFFFFFFFFFFFFULL)},
      {w.ascii("real"), w.real(12.5)},
      {w.ascii("float"), w.real32(0.5f)},
      {w.ascii("date"), w.date(721692800.0)},
      {w.ascii("data"), w.data(std::string("\x00\x01\xFF", 3))},
      {w.ascii("long text"), w.ascii("a string longer than fifteen bytes")},
      {w.utf16(u"cl\u00e9"), w.utf16(u"\u20ac \U0001F600")},
      {w.ascii("list"), w.array({w.integer(1), w.ascii("two")})},
      {w.ascii("uid"), w.uid(7)},
  };
  return w.build(w.dict(entries));
}

TEST(BinaryPropertyList, ReadsEveryKindOfObject) {
  auto list = readPropertyList(everyKind());
  ASSERT_TRUE(list);
  const auto& d = std::get<PlistDictionary>(list->value);
  EXPECT_EQ(d.at("yes"), PlistValue{true});
  EXPECT_EQ(d.at("no"), PlistValue{false});
  EXPECT_EQ(d.at("byte"), integer(200));
  EXPECT_EQ(d.at("short"), integer(60000));
  EXPECT_EQ(d.at("word"), integer(4000000000LL));
  EXPECT_EQ(d.at("negative"), integer(-42));
  EXPECT_EQ(d.at("huge"), (PlistValue{PlistInteger{-1, true}}));
  EXPECT_EQ(d.at("real"), PlistValue{12.5});
  EXPECT_EQ(d.at("float"), PlistValue{0.5});
  EXPECT_EQ(d.at("date"), PlistValue{Date{1700000000.0}});
  EXPECT_EQ(d.at("data"), (PlistValue{PlistData{std::string("\x00\x01\xFF", 3)}}));
  EXPECT_EQ(d.at("long text"), str("a string longer than fifteen bytes"));
  EXPECT_EQ(d.at("cl\xC3\xA9"), str("\xE2\x82\xAC \xF0\x9F\x98\x80"));
  EXPECT_EQ(d.at("list"), (PlistValue{PlistArray{integer(1), str("two")}}));
  EXPECT_EQ(d.at("uid"), (PlistValue{PlistDictionary{{"CF$UID", integer(7)}}}));
}

TEST(BinaryPropertyList, ReadsWhatLibplistWrites) {
  plist_t dict = plist_new_dict();
  plist_dict_set_item(dict, "widget_income", plist_new_real(1234.5));
  plist_dict_set_item(dict, "widget_auth_status", plist_new_string("logged_in"));
  plist_dict_set_item(dict, "count", plist_new_uint(static_cast<std::uint64_t>(-3)));
  plist_t array = plist_new_array();
  for (int i = 0; i < 300; ++i) plist_array_append_item(array, plist_new_uint(i));
  plist_dict_set_item(dict, "many", array);
  char* bin = nullptr;
  std::uint32_t length = 0;
  plist_to_bin(dict, &bin, &length);
  plist_free(dict);
  ASSERT_NE(bin, nullptr);
  auto list = readPropertyList(std::string_view(bin, length));
  plist_to_bin_free(bin);
  ASSERT_TRUE(list);
  const auto& d = std::get<PlistDictionary>(list->value);
  EXPECT_EQ(d.at("widget_income"), PlistValue{1234.5});
  EXPECT_EQ(d.at("widget_auth_status"), str("logged_in"));
  EXPECT_EQ(d.at("count"), integer(-3));
  const auto& many = std::get<PlistArray>(d.at("many").value);
  ASSERT_EQ(many.size(), 300u);
  EXPECT_EQ(many[299], integer(299));
}

TEST(BinaryPropertyList, SharedReferencesAreCopiedIntoEachPlace) {
  BinaryPlistWriter w;
  int shared = w.ascii("same");
  int inner = w.array({shared, shared});
  std::string bytes = w.build(w.array({inner, inner, shared}));
  auto list = readPropertyList(bytes);
  ASSERT_TRUE(list);
  PlistValue pair{PlistArray{str("same"), str("same")}};
  EXPECT_EQ(*list, (PlistValue{PlistArray{pair, pair, str("same")}}));
}

TEST(BinaryPropertyList, LoneSurrogatesBecomeReplacementCharacters) {
  BinaryPlistWriter w;
  std::u16string text = u"a";
  text.push_back(static_cast<char16_t>(0xD800));
  text += u"b";
  text.push_back(static_cast<char16_t>(0xDC00));
  auto list = readPropertyList(w.build(w.utf16(text)));
  ASSERT_TRUE(list);
  EXPECT_EQ(*list, str("a\xEF\xBF\xBD"
                       "b\xEF\xBF\xBD"));
}

TEST(BinaryPropertyList, RejectsEveryTruncation) {
  std::string bytes = everyKind();
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    EXPECT_FALSE(readPropertyList(bytes.substr(0, n))) << "length " << n;
  }
  // Bytes appended after the trailer move the trailer: also rejected.
  EXPECT_FALSE(readPropertyList(bytes + std::string(1, '\0')));
}

// Trailer fields one off or overflowing. (Bad magic, zero ref size, huge counts and offsets into
// the header or trailer are tests/data/hostile files.)
TEST(BinaryPropertyList, RejectsDamagedTrailers) {
  BinaryPlistWriter w;
  int k = w.ascii("k");
  const std::string good = w.build(w.dict({{k, w.integer(5)}}));
  ASSERT_TRUE(readPropertyList(good));
  // Trailer layout from the end: 6 unused, offset size, ref size, count, top, table offset.
  const std::size_t trailer = good.size() - 32;
  struct Case {
    std::size_t at;
    std::uint64_t value;
    int width;
    const char* what;
  };
  for (const Case& c : std::vector<Case>{
           {trailer + 8, 0, 8, "no objects"},
           {trailer + 16, 3, 8, "top index = count"},
           {trailer + 8, 1ULL << 62, 8, "table size overflows"},
           {trailer + 8, 4, 8, "table would run into the trailer"},
           {trailer + 6, 0, 1, "offset size 0"},
           {trailer + 6, 2, 1, "offset size disagrees with table length"},
           {trailer + 6, 16, 1, "offset size wider than 8"},
           {trailer + 24, trailer, 8, "table at the trailer"},
           {trailer + 24, ~0ULL - 10, 8, "table offset overflows"},
       }) {
    std::string bytes = good;
    bytes.replace(c.at, static_cast<std::size_t>(c.width), BinaryPlistWriter::be(c.value, c.width));
    EXPECT_FALSE(readPropertyList(bytes)) << c.what;
  }
}

// Markers the hostile files do not cover: UTF-8 strings, sets, unknown kinds, odd real and date
// widths. (Null, fill, cycles, bad keys and bad counts are tests/data/hostile files.)
TEST(BinaryPropertyList, RejectsUnsupportedMarkers) {
  for (char marker : {'\x70', '\xC0', '\xF0', '\x24', '\x34'}) {
    BinaryPlistWriter w;
    std::string bytes = w.build(w.array({}));
    bytes[8] = marker;
    EXPECT_FALSE(readPropertyList(bytes)) << int(static_cast<unsigned char>(marker));
  }
}

std::string nestedArrays(int depth) {
  BinaryPlistWriter w;
  int inner = w.array({});
  for (int i = 1; i < depth; ++i) inner = w.array({inner});
  return w.build(inner);
}

TEST(BinaryPropertyList, CapsNesting) {
  EXPECT_TRUE(readPropertyList(nestedArrays(maxPropertyListDepth)));
  EXPECT_FALSE(readPropertyList(nestedArrays(maxPropertyListDepth + 1)));
  EXPECT_FALSE(readPropertyList(nestedArrays(100000)));
}

TEST(BinaryPropertyList, RejectsExponentialExpansionOfSharedReferences) {
  auto doubling = [](int levels) {
    BinaryPlistWriter w;
    int node = w.ascii("leaf");
    for (int i = 0; i < levels; ++i) node = w.array({node, node});
    return w.build(node);
  };
  EXPECT_TRUE(readPropertyList(doubling(10)));  // 1024 leaves: fine
  EXPECT_FALSE(readPropertyList(doubling(64)));
}

}  // namespace
}  // namespace foundation
