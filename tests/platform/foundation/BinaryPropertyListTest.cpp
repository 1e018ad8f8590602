#include <gtest/gtest.h>
#include <plist/plist.h>

#include <random>

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

// Trailer layout from the end: 6 unused, offset size, ref size, count, top, table offset.
class DamagedTrailer : public ::testing::Test {
 protected:
  void SetUp() override {
    BinaryPlistWriter w;
    int k = w.ascii("k");
    bytes_ = w.build(w.dict({{k, w.integer(5)}}));
    ASSERT_TRUE(readPropertyList(bytes_));
  }
  std::size_t trailer() const { return bytes_.size() - 32; }
  void put(std::size_t at, std::uint64_t v, int width) {
    bytes_.replace(at, static_cast<std::size_t>(width), BinaryPlistWriter::be(v, width));
  }
  std::string bytes_;
};

TEST_F(DamagedTrailer, RejectsBadCountsAndSizes) {
  auto rejects = [&](std::size_t at, std::uint64_t v, int width) {
    std::string saved = bytes_;
    put(at, v, width);
    bool read = readPropertyList(bytes_).has_value();
    bytes_ = saved;
    return !read;
  };
  EXPECT_TRUE(rejects(trailer() + 8, 0, 8)) << "no objects";
  EXPECT_TRUE(rejects(trailer() + 16, 3, 8)) << "top index = count";
  EXPECT_TRUE(rejects(trailer() + 16, ~0ULL, 8)) << "top index huge";
  EXPECT_TRUE(rejects(trailer() + 8, 1ULL << 62, 8)) << "table size overflows";
  EXPECT_TRUE(rejects(trailer() + 8, 4, 8)) << "table would run into the trailer";
  EXPECT_TRUE(rejects(trailer() + 6, 0, 1)) << "offset size 0";
  EXPECT_TRUE(rejects(trailer() + 7, 0, 1)) << "ref size 0";
  EXPECT_TRUE(rejects(trailer() + 6, 2, 1)) << "offset size disagrees with table length";
  EXPECT_TRUE(rejects(trailer() + 6, 16, 1)) << "offset size wider than 8";
  EXPECT_TRUE(rejects(trailer() + 24, 8, 8)) << "table inside the header";
  EXPECT_TRUE(rejects(trailer() + 24, trailer(), 8)) << "table at the trailer";
  EXPECT_TRUE(rejects(trailer() + 24, ~0ULL - 10, 8)) << "table offset overflows";
  EXPECT_TRUE(rejects(0, 0x62706c6973743130ULL, 8)) << "format 1.0 is not bplist00";
}

TEST_F(DamagedTrailer, RejectsOffsetsOutsideTheObjectArea) {
  std::uint64_t table = trailer() - 3;  // three one-byte offsets
  for (std::uint64_t bad : std::vector<std::uint64_t>{0, 7, table, table + 1, 0xFF}) {
    std::string saved = bytes_;
    put(table + 1, bad, 1);
    EXPECT_FALSE(readPropertyList(bytes_)) << "offset " << bad;
    bytes_ = saved;
  }
}

TEST(BinaryPropertyList, RejectsMalformedObjects) {
  {
    BinaryPlistWriter w;  // a reference past the last object
    EXPECT_FALSE(readPropertyList(w.build(w.array({5}))));
  }
  {
    BinaryPlistWriter w;  // dictionary keys must be strings
    EXPECT_FALSE(readPropertyList(w.build(w.dict({{w.integer(1), w.integer(2)}}))));
  }
  {
    BinaryPlistWriter w;  // ASCII strings hold ASCII only
    EXPECT_FALSE(readPropertyList(w.build(w.ascii("caf\xC3\xA9"))));
  }
  {
    BinaryPlistWriter w;  // 128-bit values beyond 64 bits
    EXPECT_FALSE(readPropertyList(w.build(w.integer128(1, 0))));
  }
  {
    BinaryPlistWriter w;  // a count running past the objects
    std::string bytes = w.build(w.ascii("abc"));
    bytes[8] = '\x5E';
    EXPECT_FALSE(readPropertyList(bytes));
  }
  for (char marker : {'\x00', '\x0F', '\x70', '\xC0', '\xF0', '\x24', '\x34'}) {
    BinaryPlistWriter w;  // null, fill, UTF-8 string, set, unknown, odd real and date widths
    std::string bytes = w.build(w.array({}));
    bytes[8] = marker;
    EXPECT_FALSE(readPropertyList(bytes)) << int(static_cast<unsigned char>(marker));
  }
}

TEST(BinaryPropertyList, RejectsCycles) {
  {
    BinaryPlistWriter w;
    int self = w.array({});
    w.setRefs(self, {self});
    EXPECT_FALSE(readPropertyList(w.build(self)));
  }
  {
    BinaryPlistWriter w;
    int key = w.ascii("k");
    int a = w.array({});
    int d = w.dict({{key, a}});
    w.setRefs(a, {w.integer(1), d});
    EXPECT_FALSE(readPropertyList(w.build(d)));
  }
  {
    BinaryPlistWriter w;  // a dictionary used as its own key
    int d = w.dict({{0, 0}});
    w.setRefs(d, {d, d});
    EXPECT_FALSE(readPropertyList(w.build(d)));
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

TEST(BinaryPropertyList, SurvivesRandomDamage) {
  std::string good = everyKind();
  std::mt19937 rng(1234);
  for (int round = 0; round < 20000; ++round) {
    std::string bytes = good;
    int flips = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < flips; ++i) {
      bytes[rng() % bytes.size()] = static_cast<char>(rng() & 0xFF);
    }
    (void)readPropertyList(bytes);  // must not crash, hang or read out of bounds
  }
}

}  // namespace
}  // namespace foundation
