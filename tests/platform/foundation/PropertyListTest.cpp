// Binary and XML lists written by Python's plistlib and by tests/data/foundation/make_fixtures.py,
// which names each damaged or extreme file after what the reader must do with it.
#include "platform/foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/os/FileSystem.h"

namespace foundation {
namespace {

const std::string kFixtures = std::string(TAMSA_TEST_DATA) + "/foundation/";

std::string fixture(const std::string& name) {
  return *os::posixFileSystem()->readFile(kFixtures + name, 1 << 20);
}

PlistValue integer(std::int64_t v, bool large = false) {
  return PlistValue{PlistInteger{v, large}};
}

// Damaged trailers, unsupported markers, malformed numbers, what CoreFoundation refuses and
// libplist does not, nesting and shared-reference expansion at their limits.
TEST(PropertyList, TakesOrRefusesEachFixtureAsItsNameSays) {
  int files = 0;
  for (const char* dir : {"bplist", "xml"}) {
    for (const auto& entry : std::filesystem::directory_iterator(kFixtures + dir)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("every-")) continue;
      auto list = readPropertyList(fixture(std::string(dir) + "/" + name));
      EXPECT_EQ(list.has_value(), name.starts_with("accept-")) << dir << "/" << name;
      ++files;
    }
  }
  EXPECT_GE(files, 45);
  // XML too: 2^20 values in all (the array and its leaves) are read, one more is not.
  for (std::uint64_t values : {maxPropertyListValues, maxPropertyListValues + 1}) {
    std::string xml = "<plist version=\"1.0\"><array>";
    for (std::uint64_t i = 1; i < values; ++i) xml += "<true/>";
    EXPECT_EQ(readPropertyList(xml + "</array></plist>").has_value(),
              values == maxPropertyListValues);
  }
}

// A four-byte real, which CoreFoundation reads and Python never writes.
TEST(PropertyList, ReadsAFourByteReal) {
  std::string bytes = std::string("bplist00") + std::string("\x22\x3F\xC0\x00\x00", 5) + "\x08";
  bytes += std::string(6, '\0') + "\x01\x01";  // offsets and references: one byte
  for (std::uint64_t field : {1, 0, 13})       // objects, top object, table offset
    for (int shift = 56; shift >= 0; shift -= 8) bytes += static_cast<char>(field >> shift);
  EXPECT_EQ(readPropertyList(bytes), PlistValue{1.5});
  bytes[bytes.size() - 25] = 8;  // eight-byte object references: the widest there are
  EXPECT_EQ(readPropertyList(bytes), PlistValue{1.5});
}

// Two independent readers (ours for binary, libplist for XML) agree on every kind of value.
TEST(PropertyList, ReadsEveryKindOfValue) {
  auto list = readPropertyList(fixture("bplist/every-kind.plist"));
  ASSERT_TRUE(list);
  auto d = std::get<PlistDictionary>(list->value);
  EXPECT_EQ(d.at("huge"), integer(-1, true));
  EXPECT_EQ(d.extract("uid").mapped(), PlistValue{PlistUid{7}});
  EXPECT_EQ(PlistValue{d}, readPropertyList(fixture("xml/every-kind.plist")));
  PlistValue text{std::string("a\uFFFDb\uFFFD")};
  PlistValue pair{PlistArray{text, text}};
  EXPECT_EQ(readPropertyList(fixture("bplist/accept-shared-references-lone-surrogates.plist")),
            (PlistValue{PlistArray{pair, pair, text}}));
  const std::string binary = fixture("bplist/every-kind.plist");
  for (std::size_t n = 0; n < binary.size(); n += 3)
    EXPECT_FALSE(readPropertyList(binary.substr(0, n))) << "cut at " << n;
  EXPECT_FALSE(readPropertyList(binary + std::string(1, '\0')));

  list = readPropertyList(
      "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><!-- a comment with <dict> -->"
      "<key>caf&#xE9;</key><string>a &amp; &lt;c&gt; <![CDATA[<raw> &amp;]]>&#8364;</string>"
      "<key>when</key><date>2023-11-14T22:13:20Z</date><key>bytes</key><data>aGVsbG8+/09z</data>"
      "</dict></plist>");
  EXPECT_EQ(list, (PlistValue{PlistDictionary{
                      {"caf\xC3\xA9", PlistValue{std::string("a & <c> <raw> &amp;\xE2\x82\xAC")}},
                      {"when", PlistValue{PlistDate{1700000000.0 - 978307200}}},
                      {"bytes", PlistValue{PlistData{"hello>\xFFOs"}}}}}));
  // Base64 as the platform decodes it; read strictly, only what loses nothing.
  auto data = [](const std::string& text, Base64 base64) {
    return readPropertyList("<plist><data>" + text + "</data></plist>", base64);
  };
  const PlistValue bytes{PlistData{std::string("\0\xFF", 2)}};
  for (const char* whole : {"AP8", " AP\n8= ", "AP9", "AP8=="})
    EXPECT_EQ(data(whole, Base64::strict), bytes) << whole;
  for (const char* partly : {"A!P8", "AP8=A", "AP8AB", "&#65;P8"}) {
    EXPECT_FALSE(data(partly, Base64::strict)) << partly;
    EXPECT_TRUE(data(partly, Base64::lenient)) << partly;
  }
  EXPECT_EQ(data("A!P8", Base64::lenient), bytes);
  EXPECT_EQ(data("!!!", Base64::lenient), PlistValue{PlistData{}});
  auto numbers = readPropertyList(fixture("xml/accept-numbers.plist"));
  ASSERT_TRUE(numbers);
  auto values = std::get<PlistArray>(numbers->value);
  EXPECT_TRUE(std::isnan(std::get<double>(values.back().value)));
  values.pop_back();
  EXPECT_EQ(values, (PlistArray{integer(-5), integer(10), integer(31), integer(INT64_MIN),
                                integer(-1, true), PlistValue{0.1}, PlistValue{-5.0},
                                PlistValue{-INFINITY}, PlistValue{INFINITY}}));
}

// A date keeps every bit of its double through the binary form and through its ISO 8601 text,
// in any year the text can write; XML dates read in full whatever the year, or refuse the file.
TEST(PropertyList, DatesComeBackBitForBit) {
  std::mt19937_64 random(7);
  std::vector<double> seconds = {
      0.1,   -0.1,   1e-9,   -1e-9, 790000000.123456789, -63113904000, 252423993599.99998,
      -5.25, 3.3e14, -9.9e14};
  for (int i = 0; i < 20000; ++i) {
    const std::uint64_t bits = random();
    double x;
    std::memcpy(&x, &bits, sizeof x);
    seconds.push_back(std::fmod(x, 1e15));
    seconds.push_back(static_cast<double>(bits >> 14) * (i % 2 ? 1e-6 : -1e-3));
  }
  int texts = 0;
  for (double x : seconds) {
    if (std::isnan(x)) continue;
    PlistValue date{PlistDate{x}};
    auto back = readPropertyList(*writeBinaryPropertyList(PlistValue{PlistArray{date}}));
    ASSERT_TRUE(back && std::get<PlistArray>(back->value)[0] == date) << x;
    auto text = plistDateText(PlistDate{x});
    if (!text) continue;
    ++texts;
    auto read = parsePlistDate(*text);
    ASSERT_TRUE(read && std::memcmp(&read->secondsSince2001, &x, sizeof x) == 0)
        << *text << " for " << x;
  }
  EXPECT_GT(texts, 20000);
  EXPECT_EQ(plistDateText(PlistDate{-63113904000}), "0001-01-01T00:00:00.000Z");
  EXPECT_EQ(plistDateText(PlistDate{252423993599}), "9999-12-31T23:59:59.000Z");
  EXPECT_EQ(plistDateText(PlistDate{252423993600}), "+010000-01-01T00:00:00.000Z");

  auto xml = [](const std::string& date) {
    return readPropertyList("<plist version=\"1.0\"><array><date>" + date +
                            "</date></array></plist>");
  };
  for (const auto& [text, since2001] :
       std::vector<std::pair<std::string, double>>{{"0001-01-01T00:00:00Z", -63113904000},
                                                   {"1901-12-13T20:45:51Z", -3125790849},
                                                   {"2100-06-01T00:00:00Z", 3137184000},
                                                   {"9999-12-31T23:59:59Z", 252423993599}})
    EXPECT_EQ(xml(text), (PlistValue{PlistArray{PlistValue{PlistDate{since2001}}}})) << text;
  for (const char* bad : {"garbage", "2023-02-29T00:00:00Z", "2023-01-01", "", "99-01-01T00:00Z"})
    EXPECT_FALSE(xml(bad)) << bad;
}

}  // namespace
}  // namespace foundation
