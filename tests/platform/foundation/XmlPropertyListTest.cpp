#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/foundation/PropertyList.h"

namespace foundation {
namespace {

std::string plist(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST "
         "1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">" +
         body + "</plist>\n";
}

PlistValue str(std::string s) {
  return PlistValue{std::move(s)};
}

TEST(XmlPropertyList, ReadsEveryKindOfValue) {
  auto list = readPropertyList(plist(R"(<dict>
    <!-- a comment with <dict> inside -->
    <key>text</key><string>a &amp; b &lt;c&gt; <![CDATA[<raw> &amp;]]></string>
    <key>empty</key><string/>
    <key>yes</key><true/>
    <key>when</key><date>2023-11-14T22:13:20Z</date>
    <key>bytes</key><data>aGVsbG8=</data>
    <key>list</key><array><false/><string>two</string></array>
    <key>caf&#xE9;</key><string>&#8364;</string>
  </dict>)"));
  ASSERT_TRUE(list);
  EXPECT_EQ(
      *list,
      (PlistValue{PlistDictionary{{"text", str("a & b <c> <raw> &amp;")},
                                  {"empty", str("")},
                                  {"yes", PlistValue{true}},
                                  {"when", PlistValue{Date{1700000000.0}}},
                                  {"bytes", PlistValue{PlistData{"hello"}}},
                                  {"list", PlistValue{PlistArray{PlistValue{false}, str("two")}}},
                                  {"caf\xC3\xA9", str("\xE2\x82\xAC")}}}));
  EXPECT_EQ(readPropertyList(plist("<string>hi</string>")), str("hi"));
}

// Numbers as the platform reads them: whole, in range, in the C locale. A malformed number makes
// the whole file malformed.
TEST(XmlPropertyList, ReadsNumbersStrictly) {
  auto integer = [](std::int64_t v, bool large = false) {
    return PlistValue{PlistInteger{v, large}};
  };
  struct Case {
    const char* element;
    std::optional<PlistValue> value;
  };
  for (const Case& c : std::vector<Case>{
           {"<integer>-5</integer>", integer(-5)},
           {"<integer> +010 </integer>", integer(10)},
           {"<integer>0x1F</integer>", integer(31)},
           {"<integer>-9223372036854775808</integer>", integer(INT64_MIN)},
           {"<integer>18446744073709551615</integer>", integer(-1, true)},
           {"<real>0.1</real>", PlistValue{0.1}},
           {"<real>-.5e1</real>", PlistValue{-5.0}},
           {"<real>-inf</real>", PlistValue{-INFINITY}},
           {"<real>1e400</real>", PlistValue{INFINITY}},
           {"<integer>-9223372036854775809</integer>", std::nullopt},
           {"<integer>18446744073709551616</integer>", std::nullopt},
           {"<integer>-99999999999999999999999</integer>", std::nullopt},
           {"<integer>1.5</integer>", std::nullopt},
           {"<integer>0x</integer>", std::nullopt},
           {"<integer>+-1</integer>", std::nullopt},
           {"<integer></integer>", std::nullopt},
           {"<integer/>", std::nullopt},
           {"<integer><!-- 1 -->2</integer>", std::nullopt},
           {"<real>5abc</real>", std::nullopt},
           {"<real>1,5</real>", std::nullopt},
           {"<real>0x1p3</real>", std::nullopt},
           {"<real>--1</real>", std::nullopt},
           {"<real> </real>", std::nullopt},
       }) {
    auto list = readPropertyList(plist("<array><true/>" + std::string(c.element) + "</array>"));
    if (!c.value) {
      EXPECT_FALSE(list) << c.element;
    } else {
      ASSERT_TRUE(list) << c.element;
      EXPECT_EQ(std::get<PlistArray>(list->value).at(1), *c.value) << c.element;
    }
  }
  auto nan = readPropertyList(plist("<real>NaN</real>"));
  EXPECT_TRUE(nan && std::isnan(std::get<double>(nan->value)));
}

// Entity declarations, a dangling key at the top and deep nesting are tests/data/hostile files.
TEST(XmlPropertyList, RejectsWhatCoreFoundationRejectsAndLibplistLetsThrough) {
  for (const char* body :
       {"<dict><key>a</key><dict><key>b</key></dict></dict>",
        "<dict><key>a</key><key>b</key><true/></dict>", "<string>a</string><string>b</string>",
        "<dict><key>a</key><string>b</dict>", "<!-- never closed <string/>",
        "<!DOCTYPE x [ ]><true/>", "<string>a</string"})
    EXPECT_FALSE(readPropertyList(plist(body))) << body;
  EXPECT_TRUE(readPropertyList(plist("<dict><key>a</key><dict/><key>b</key><true/></dict>")));
  EXPECT_FALSE(readPropertyList("not a property list"));
}

TEST(XmlPropertyList, CapsNesting) {
  for (int depth : {maxPropertyListDepth, maxPropertyListDepth + 1}) {
    std::string open, close;
    for (int i = 0; i < depth; ++i) open += "<array>", close += "</array>";
    EXPECT_EQ(readPropertyList(plist(open + "<string>x</string>" + close)).has_value(),
              depth == maxPropertyListDepth);
  }
}

}  // namespace
}  // namespace foundation
