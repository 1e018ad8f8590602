// The meaning comparison's words, on one small report doctored a field at a time.
#include "host/snapshot/MeaningComparison.h"

#include <gtest/gtest.h>

#include <functional>

namespace host {
namespace {

using nlohmann::json;

json text(const std::string& s, double y) {
  return {{"type", "Text"},     {"frame", {{"x", 16}, {"y", y}, {"width", 80}, {"height", 14}}},
          {"string", s},        {"drawn", s},
          {"fontSize", 13},     {"fontWeight", "regular"},
          {"color", "#8E8E93"}, {"lines", 1},
          {"shrunk", false},    {"truncated", false},
          {"missingGlyphs", 0}, {"children", json::array()}};
}

json report() {
  json stack = {{"type", "VStack"},
                {"frame", {{"x", 16}, {"y", 16}, {"width", 138}, {"height", 60}}},
                {"children", {text("Kontostand", 16), text("€12,046.55", 34)}}};
  return {{"size", {{"width", 170}, {"height", 170}}},
          {"scale", 2},
          {"root",
           {{"type", "Background"},
            {"frame", {{"x", 0}, {"y", 0}, {"width", 170}, {"height", 170}}},
            {"color", "#FFFFFF"},
            {"children", {stack}}}}};
}

json& first(json& r) {
  return r["root"]["children"][0]["children"][0];
}
json& second(json& r) {
  return r["root"]["children"][0]["children"][1];
}

TEST(MeaningComparison, SaysEachDifferenceInWords) {
  struct Case {
    const char* what;
    std::function<void(json&)> doctor;
    std::vector<std::string> words;
  } cases[] = {
      {"same", [](json&) {}, {}},
      {"moved within the slack", [](json& r) { first(r)["frame"]["y"] = 16.2; }, {}},
      {"moved up and left",
       [](json& r) { first(r)["frame"]["y"] = 15.5, first(r)["frame"]["x"] = 14; },
       {"\"Kontostand\" moved up 0.5 pt, left 2 pt"}},
      {"resized",
       [](json& r) { second(r)["frame"]["width"] = 70; },
       {"\"€12,046.55\" resized 80 × 14 → 70 × 14 pt"}},
      {"cut",
       [](json& r) { second(r)["truncated"] = true, second(r)["drawn"] = "€12,04…"; },
       {"\"€12,046.55\" now cut (\"€12,04…\")"}},
      {"string",
       [](json& r) { first(r)["string"] = first(r)["drawn"] = "Balance"; },
       {"\"Kontostand\" now reads \"Balance\""}},
      {"font, colour, lines, shrunk, glyphs",
       [](json& r) {
         first(r).update({{"fontSize", 11.5},
                          {"fontWeight", "bold"},
                          {"color", "#FF3B30"},
                          {"lines", 2},
                          {"shrunk", true},
                          {"missingGlyphs", 3}});
       },
       {"\"Kontostand\" font size 13 → 11.5 pt", "\"Kontostand\" weight regular → bold",
        "\"Kontostand\" colour #8E8E93 → #FF3B30", "\"Kontostand\" lines 1 → 2",
        "\"Kontostand\" now shrunk", "\"Kontostand\" missing glyphs 0 → 3"}},
      {"a field the comparison has no words for",
       [](json& r) { first(r)["key"] = "balance_label"; },
       {"\"Kontostand\" key none → \"balance_label\""}},
      {"background colour",
       [](json& r) { r["root"]["color"] = "#1C1C1E"; },
       {"Background #FFFFFF colour #FFFFFF → #1C1C1E"}},
      {"both texts changed: each paired with its new self",
       [](json& r) {
         first(r)["string"] = first(r)["drawn"] = "Balance";
         second(r)["string"] = second(r)["drawn"] = "€9.00";
       },
       {"\"Kontostand\" now reads \"Balance\"", "\"€12,046.55\" now reads \"€9.00\""}},
      {"removed, the sibling matched past it",
       [](json& r) { r["root"]["children"][0]["children"].erase(0); },
       {"\"Kontostand\" removed"}},
      {"added in front, the others matched past it",
       [](json& r) {
         auto& list = r["root"]["children"][0]["children"];
         list.insert(list.begin(), text("Heute", 52));
       },
       {"\"Heute\" added"}},
      {"picture size and link",
       [](json& r) { r["size"]["width"] = 364, r["widgetURL"] = "tamsaledger://widget"; },
       {"picture size 170 × 170 → 364 × 170 pt", "link none → \"tamsaledger://widget\""}},
  };
  for (const auto& c : cases) {
    json actual = report();
    c.doctor(actual);
    EXPECT_EQ(compareMeaning(report(), actual), c.words) << c.what;
  }
}

TEST(MeaningComparison, MalformedReportsAreComparedWithoutThrowing) {
  json broken = report();
  first(broken)["truncated"] = "yes";
  second(broken)["frame"] = 3;
  broken["size"]["width"] = "wide";
  EXPECT_FALSE(compareMeaning(report(), broken).empty());
  EXPECT_FALSE(compareMeaning(json::array(), report()).empty());
}

}  // namespace
}  // namespace host
