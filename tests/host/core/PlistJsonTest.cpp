// What `store show` prints reads back, through `store import`'s reader, as the very values shown.
#include "host/core/PlistJson.h"

#include <gtest/gtest.h>

#include <limits>

namespace host {
namespace {

using foundation::PlistArray;
using foundation::PlistDictionary;
using foundation::PlistValue;

PlistDictionary everyKind() {
  const PlistValue tagLike{PlistDictionary{{"date", PlistValue{true}}}};
  return {
      {"bool", {false}},
      {"int", {foundation::PlistInteger{-42}}},
      {"huge", {foundation::PlistInteger{-1, true}}},  // 2^64 - 1
      {"real", {7.0}},
      {"infinite", {-std::numeric_limits<double>::infinity()}},
      {"text", {std::string("tab\t\x01 caf\xC3\xA9")}},
      {"date", {foundation::PlistDate{-1.25e-7}}},
      {"ancient", {foundation::PlistDate{-63113904000.0}}},
      {"data", {foundation::PlistData{std::string("\0\xFF+/", 4)}}},
      {"uid", {foundation::PlistUid{7}}},
      {"tagLike", tagLike},
      {"nested", {PlistArray{PlistValue{PlistArray{tagLike, PlistValue{1.5}}}, PlistValue{}}}},
  };
}

TEST(PlistJson, EveryValueShownReadsBackAsItself) {
  const PlistDictionary suite = everyKind();
  auto json = parseJson(suiteText(suite), "shown");
  ASSERT_TRUE(json) << json.failure().message;
  PlistDictionary back;
  for (const auto& [key, element] : json->items()) {
    auto value = plistFromJson(element, key);
    ASSERT_TRUE(value) << key << ": " << value.failure().message;
    back.emplace(key, std::move(*value));
  }
  for (const auto& [key, value] : suite) EXPECT_TRUE(back.at(key) == value) << key;
  EXPECT_EQ(back.size(), suite.size());
}

std::string repeat(const std::string& text, int n) {
  std::string out;
  while (n-- > 0) out += text;
  return out;
}

// Values as the app leaves them (dates of every year, UIDs, unpadded base64, deep nesting, a
// dictionary that looks like a tag) show as short text that reads back the same.
TEST(PlistJson, WhatTheAppLeavesShowsShortAndReadsBack) {
  const std::string xml =
      "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
      "<key>far</key><date>2100-06-01T00:00:00Z</date>"
      "<key>first</key><date>0001-01-01T00:00:00Z</date>"
      "<key>uid</key><dict><key>CF$UID</key><integer>7</integer></dict>"
      "<key>unpadded</key><data> AP\n8 </data><key>deep</key>" +
      repeat("<array>", 400) + repeat("<integer>1</integer>", 1000) + repeat("</array>", 400) +
      "<key>wrapped</key>" + repeat("<dict><key>date</key>", 300) + "<true/>" +
      repeat("</dict>", 300) + "</dict></plist>";
  auto list = foundation::readPropertyList(xml);
  ASSERT_TRUE(list);
  const auto& suite = std::get<PlistDictionary>(list->value);
  const std::string shown = suiteText(suite);
  EXPECT_LT(shown.size(), 16000u);
  auto json = parseJson(shown, "shown");
  ASSERT_TRUE(json);
  EXPECT_EQ((*json)["far"], (nlohmann::json{{"date", "2100-06-01T00:00:00.000Z"}}));
  EXPECT_EQ((*json)["first"], (nlohmann::json{{"date", "0001-01-01T00:00:00.000Z"}}));
  EXPECT_EQ((*json)["uid"], (nlohmann::json{{"CF$UID", 7}}));
  EXPECT_EQ((*json)["unpadded"], (nlohmann::json{{"data", "AP8="}}));
  for (const auto& [key, element] : json->items()) {
    auto value = plistFromJson(element, key);
    ASSERT_TRUE(value) << key;
    EXPECT_TRUE(*value == suite.at(key)) << key;
  }
  // Dates to the nanosecond and the last representable one keep their text.
  for (const char* date : {"2026-01-01T09:00:00.123456789Z", "9999-12-31T23:59:59.99998Z"}) {
    auto value = plistFromJson({{"date", date}}, "d");
    ASSERT_TRUE(value) << date;
    auto back = plistFromJson(jsonFromPlist(*value), "d");
    EXPECT_TRUE(back && *back == *value) << date;
  }
}

// Import takes integers up to 64 bits and nesting up to the list's limit, and refuses beyond.
TEST(PlistJson, ImportRefusesWhatCannotBeStoredExactly) {
  for (const char* text : {"{\"n\": 18446744073709551616}", "{\"n\": -9223372036854775809}"})
    EXPECT_EQ(parseJson(text, "i").failure().status, ExitStatus::usage) << text;
  // A syntax error says where, in words, without the parser's own tag.
  EXPECT_EQ(parseJson("{\"a\": }", "i").failure().message.rfind("i: not JSON (parse error", 0), 0u);
  ASSERT_TRUE(parseJson("{\"n\": 18446744073709551615}", "i"));
  for (int arrays : {511, 512}) {
    auto json =
        parseJson("{\"a\": " + std::string(arrays, '[') + std::string(arrays, ']') + "}", "i");
    const bool fits = json && plistFromJson((*json)["a"], "a");
    EXPECT_EQ(fits, arrays == 511) << arrays;
  }
  // Far deeper is refused before any parser walks it, in lists and dictionaries alike.
  std::string lists(100000, '['), dictionaries;
  for (int i = 0; i < 100000; ++i) dictionaries += "{\"a\":";
  for (const std::string& deep : {lists, dictionaries})
    EXPECT_NE(parseJson(deep, "i").failure().message.find("nested deeper"), std::string::npos);
  // Import takes as much as show prints for any list the readers take: the longest dates, a line
  // each or nested deep, and text of control characters.
  const PlistValue date{foundation::PlistDate{-1.2345678901234567e-7}};
  PlistValue nest{PlistArray(1000, date)};
  for (int i = 0; i < 100; ++i) nest = PlistValue{PlistArray{nest}};
  const std::string controls(1000, '\x01');
  const PlistDictionary worst = {
      {"a", PlistValue{PlistArray(1000, date)}}, {"b", date}, {"c", nest}, {controls, {controls}}};
  const std::uint64_t count = 5 + 1001 + 1 + 1101 + 1, text = 3 + 2000;
  EXPECT_LE(suiteText(worst).size(), count * kShownBytesPerValue + text * kShownBytesPerTextByte);
}

TEST(PlistJson, ShowIndentsTwoLevelsAndPrintsDeeperOnOneLine) {
  const PlistDictionary suite = {
      {"a",
       {PlistArray{PlistValue{foundation::PlistInteger{1}},
                   PlistValue{PlistDictionary{{"b", {PlistArray{PlistValue{true}}}}}}}}},
      {"c", {std::string("d")}}};
  EXPECT_EQ(suiteText(suite),
            "{\n  \"a\": [\n    1,\n    {\"b\":[true]}\n  ],\n  \"c\": \"d\"\n}\n");
}

}  // namespace
}  // namespace host
