#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/PropertyList.h"

namespace foundation {
namespace {

const char* kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n";

std::string plist(const std::string& body) {
  return std::string(kHeader) + "<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

PlistValue str(std::string s) {
  return PlistValue{std::move(s)};
}

TEST(XmlPropertyList, ReadsEveryKindOfValue) {
  auto list = readPropertyList(plist(R"(<dict>
    <!-- a comment with <dict> inside -->
    <key>text</key><string>a &amp; b &lt;c&gt; <![CDATA[<raw> &amp;]]></string>
    <key>empty</key><string/>
    <key>negative</key><integer>-5</integer>
    <key>huge</key><integer>18446744073709551615</integer>
    <key>real</key><real>0.1</real>
    <key>yes</key><true/>
    <key>no</key><false/>
    <key>when</key><date>2023-11-14T22:13:20Z</date>
    <key>bytes</key><data>aGVsbG8=</data>
    <key>list</key><array><integer>1</integer><string>two</string></array>
    <key>caf&#xE9;</key><string>&#8364;</string>
  </dict>)"));
  ASSERT_TRUE(list);
  const auto& d = std::get<PlistDictionary>(list->value);
  EXPECT_EQ(d.at("text"), str("a & b <c> <raw> &amp;"));
  EXPECT_EQ(d.at("empty"), str(""));
  EXPECT_EQ(d.at("negative"), (PlistValue{PlistInteger{-5, false}}));
  EXPECT_EQ(d.at("huge"), (PlistValue{PlistInteger{-1, true}}));
  EXPECT_EQ(d.at("real"), PlistValue{0.1});
  EXPECT_EQ(d.at("yes"), PlistValue{true});
  EXPECT_EQ(d.at("no"), PlistValue{false});
  EXPECT_EQ(d.at("when"), PlistValue{Date{1700000000.0}});
  EXPECT_EQ(d.at("bytes"), (PlistValue{PlistData{"hello"}}));
  EXPECT_EQ(d.at("list"), (PlistValue{PlistArray{PlistValue{PlistInteger{1, false}}, str("two")}}));
  ASSERT_TRUE(d.count("caf\xC3\xA9"));
  EXPECT_EQ(d.at("caf\xC3\xA9"), str("\xE2\x82\xAC"));
}

TEST(XmlPropertyList, TopLevelMayBeAnyValue) {
  EXPECT_EQ(readPropertyList(plist("<string>hi</string>")), str("hi"));
  EXPECT_EQ(readPropertyList(plist("<array/>")), PlistValue{PlistArray{}});
}

// Entity declarations, a dangling key at the top and deep nesting are tests/data/hostile files.
TEST(XmlPropertyList, RejectsWhatCoreFoundationRejectsAndLibplistDropsSilently) {
  EXPECT_FALSE(readPropertyList(plist("<dict><key>a</key><dict><key>b</key></dict></dict>")));
  EXPECT_FALSE(readPropertyList(plist("<string>a</string><string>b</string>")));
  EXPECT_TRUE(readPropertyList(plist("<dict><key>a</key><dict/><key>b</key><true/></dict>")));
}

std::string nested(int depth) {
  std::string open, close;
  for (int i = 0; i < depth; ++i) {
    open += "<array>";
    close += "</array>";
  }
  return plist(open + "<string>x</string>" + close);
}

TEST(XmlPropertyList, CapsNesting) {
  EXPECT_TRUE(readPropertyList(nested(maxPropertyListDepth)));
  EXPECT_FALSE(readPropertyList(nested(maxPropertyListDepth + 1)));
  EXPECT_FALSE(readPropertyList(nested(200000)));
}

TEST(XmlPropertyList, RejectsMalformedText) {
  std::string good = plist("<dict><key>a</key><string>b</string></dict>");
  ASSERT_TRUE(readPropertyList(good));
  for (std::size_t n : {0, 10, 60, 150, 170, 190, 200}) {
    if (n < good.size()) EXPECT_FALSE(readPropertyList(good.substr(0, n))) << "length " << n;
  }
  EXPECT_FALSE(readPropertyList(plist("<dict><key>a</key><string>b</dict>")));
  EXPECT_FALSE(readPropertyList(plist("<!-- never closed <string>x</string>")));
  EXPECT_FALSE(readPropertyList("not a property list"));
}

}  // namespace
}  // namespace foundation
