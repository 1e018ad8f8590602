#include "host/findings/Findings.h"

#include <gtest/gtest.h>

#include "host/findings/Baseline.h"
#include "host/findings/Sarif.h"
#include "platform/os/MemoryWritableFileSystem.h"

namespace host {
namespace {

using nlohmann::json;

PictureFacts picture(const std::string& language, const std::string& family = "small",
                     const std::string& appearance = "light",
                     const std::string& scenario = "signed-out") {
  return {scenario + "/" + language + "/TamsaWidget-" + family + "-" + appearance + ".png",
          scenario,
          "",
          language,
          "TamsaWidget",
          family,
          appearance};
}

TextFinding cut(const std::string& key, const std::string& language, int line = 14) {
  TextFinding t{.string = "Kontostand insgesamt", .drawn = "Konto…", .fontSize = 12};
  t.truncated = true;
  t.table = language + ".lproj/Localizable.strings";
  t.key = key;
  t.line = line;
  t.language = language;
  return t;
}

std::vector<std::string> rules(const std::vector<Finding>& findings) {
  std::vector<std::string> out;
  for (const auto& f : findings)
    out.push_back(std::string(kFindingRuleNames.nameOf(f.cause.rule)) + " " +
                  std::string(kSeverityNames.nameOf(f.severity)) + " " +
                  std::to_string(f.pictures.size()));
  return out;
}

// A translation cut is an error only where the English text fits the same place; English of
// another place, or another key cut in English, says nothing about it.
TEST(Findings, ACutIsAnErrorWhereTheEnglishTextFitsTheSamePlace) {
  PictureFacts de = picture("de");
  de.texts = {cut("widget_balance", "de")};
  PictureFacts en = picture("en");
  EXPECT_EQ(rules(groupFindings({de, en})), std::vector<std::string>{"cut error 1"});

  PictureFacts enCut = en;
  enCut.texts = {cut("widget_balance", "en")};
  EXPECT_EQ(
      rules(groupFindings({de, enCut})),
      (std::vector<std::string>{"cut-in-english-too warning 1", "cut-in-english-too warning 1"}));

  PictureFacts elsewhere = picture("en", "medium");  // another family
  elsewhere.texts = {cut("widget_balance", "en")};
  PictureFacts darkEn = picture("en", "small", "dark");  // another appearance
  darkEn.texts = {cut("widget_balance", "en")};
  PictureFacts otherKey = en;
  otherKey.texts = {cut("widget_income", "en")};
  for (const auto& english : {elsewhere, darkEn, otherKey}) {
    auto found = groupFindings({de, english});
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0].cause.rule, FindingRule::cut) << english.picture;
  }
  // No English picture to compare with: the cut counts as an error.
  EXPECT_EQ(rules(groupFindings({de})), std::vector<std::string>{"cut error 1"});
}

TEST(Findings, SeverityFollowsWhatTheTextAndTheLayoutShow) {
  PictureFacts p = picture("de");
  TextFinding floor{.string = "Einnahmen", .drawn = "Einnahmen", .fontSize = 9.6};
  floor.shrunk = true;
  floor.minimumFontSize = 9.6;
  floor.table = "de.lproj/Localizable.strings";
  floor.key = "widget_income";
  TextFinding within = floor;
  within.key = "widget_expense";
  within.fontSize = 10.4;
  TextFinding typed{.string = "Familienkonto Urlaub", .drawn = "Familienk…"};
  typed.truncated = true;
  TextFinding tofu{.string = "\u0F00", .drawn = "\u0F00", .missingGlyphs = 1};
  p.texts = {floor, within, typed, tofu};
  p.marginOverflow = 8;
  EXPECT_EQ(
      rules(groupFindings({p})),
      (std::vector<std::string>{"missing-glyphs error 1", "shrunk-to-floor warning 1",
                                "shrunk note 1", "typed-text-cut note 1", "past-margins note 1"}));
  // Past the widget's edge is cut off: an error, and not also a note. Half a point is rounding.
  p.texts.clear();
  p.edgeOverflow = 0.6;
  EXPECT_EQ(rules(groupFindings({p})), std::vector<std::string>{"clipped error 1"});
  p.edgeOverflow = 0.5;
  p.marginOverflow = 0.5;
  EXPECT_TRUE(groupFindings({p}).empty());
}

// One finding per cause: the same text of the same table in the same language is one finding
// however many scenarios and appearances show it; another language is another finding.
TEST(Findings, OneFindingPerCauseWithItsPicturesUnderIt) {
  std::vector<PictureFacts> pictures;
  const double overflows[] = {8, 9.5, 10, 9};
  int n = 0;
  for (const char* scenario : {"signed-out", "month-one-wallet"})
    for (const char* appearance : {"light", "dark"}) {
      pictures.push_back(picture("de", "small", appearance, scenario));
      pictures.back().texts = {cut("widget_balance", "de", 14)};
      pictures.push_back(picture("fr", "small", appearance, scenario));
      pictures.back().texts = {cut("widget_balance", "fr", 14)};
      pictures.push_back(picture("de", "medium", appearance, scenario));
      pictures.back().marginOverflow = overflows[n++];
    }
  // Colours lost to one tone: one finding for the pair, whatever the look.
  for (const char* appearance : {"tinted", "clear"}) {
    pictures.push_back(picture("de", "small", appearance));
    pictures.back().toneMerges = {{"expenseColor", "incomeColor", "$3", "$5"}};
  }
  auto found = groupFindings(pictures);
  ASSERT_EQ(rules(found),
            (std::vector<std::string>{"cut error 4", "cut error 4", "colour-only warning 2",
                                      "past-margins note 4"}));
  EXPECT_EQ(found[2].message,
            "expenseColor and incomeColor texts differ only in colour: tinted and clear home "
            "screens draw both in one tone");
  EXPECT_EQ(found[0].cause.language, "de");
  EXPECT_EQ(found[0].file, "de.lproj/Localizable.strings");
  EXPECT_EQ(found[0].line, 14);
  EXPECT_NE(found[3].message.find("up to 10 pt"), std::string::npos) << found[3].message;
  EXPECT_EQ(findingCounts(found), "2 errors, 1 warning, 1 note");
  // A picture's caption counts each finding it shows once.
  EXPECT_EQ(severityCounts(pictureSeverities(pictures[0], EnglishFit{})), "1 error");
  EXPECT_EQ(severityCounts({Severity::note, Severity::error, Severity::note}), "1 error, 2 notes");
}

TEST(Baseline, MatchesByCauseNotByLineAndKeepsReasons) {
  PictureFacts de = picture("de");
  de.texts = {cut("widget_balance", "de", 14)};
  de.toneMerges = {{"expenseColor", "incomeColor", "$3", "$5"}};  // a cause of another rule
  PictureFacts fr = picture("fr");
  fr.texts = {cut("widget_balance", "fr", 14)};
  auto before = groupFindings({de});
  os::MemoryWritableFileSystem files;
  files.addFile("/b.json", baselineJson(before, {}, "too long, a shorter one is asked for"));
  auto baseline = readBaseline(files, "/b.json");
  ASSERT_TRUE(baseline) << baseline.failure().message;

  // The lines of the table moved, and French is cut now too.
  de.texts[0].line = 40;
  auto after = groupFindings({de, fr});
  applyBaseline(after, *baseline);
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[0].accepted, "too long, a shorter one is asked for");
  EXPECT_TRUE(after[1].isNew());
  EXPECT_FALSE(after[2].isNew());
  EXPECT_EQ(findingCounts(after), "2 errors (1 new), 1 warning (accepted), 0 notes");

  // Written again: the old reason kept, the new finding given the new one, what is gone dropped.
  auto rewritten = json::parse(baselineJson({after[1]}, *baseline, "later"));
  ASSERT_EQ(rewritten["accepted"].size(), 1u);
  EXPECT_EQ(rewritten["accepted"][0]["reason"], "later");
  rewritten = json::parse(baselineJson(after, *baseline, "later"));
  EXPECT_EQ(rewritten["accepted"][0]["reason"], "too long, a shorter one is asked for");
}

TEST(Baseline, RefusesFilesThatAreNotBaselines) {
  os::MemoryWritableFileSystem files;
  const std::string good = baselineJson(groupFindings({[] {
                                          PictureFacts p = picture("de");
                                          p.texts = {cut("k", "de")};
                                          return p;
                                        }()}),
                                        {}, "why");
  auto doctored = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  for (const auto& [content, says] : std::vector<std::pair<std::string, std::string>>{
           {"[]", "not a findings baseline"},
           {std::string(100000, '[') + std::string(100000, ']'), "not a findings baseline"},
           {"{\"accepted\": []}", "not a findings baseline"},
           {doctored("\"cut\"", "\"sideways\""), "no rule this program knows"},
           {doctored("\"reason\": \"why\"", "\"reason\": 3"), "gives no reason"},
           {doctored("\"key\": \"k\"", "\"key\": [1]"), "not a text"},
           {good.substr(0, good.size() / 2), "not a findings baseline"}}) {
    files.addFile("/b.json", content);
    auto read = readBaseline(files, "/b.json");
    ASSERT_FALSE(read) << content;
    EXPECT_NE(read.failure().message.find(says), std::string::npos) << read.failure().message;
  }
  auto missing = readBaseline(files, "/none.json");
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.failure().message.find("/none.json"), std::string::npos);
}

TEST(Sarif, EachResultAtItsTablesLineWithItsBaselineState) {
  PictureFacts de = picture("de");
  de.texts = {cut("widget_balance", "de", 14)};
  de.marginOverflow = 8;
  auto findings = groupFindings({de});
  findings[1].accepted = "the design";
  const auto results = findingResults(findings, "my bundle", true);
  EXPECT_EQ(findingLine(results[0]),
            "my bundle/de.lproj/Localizable.strings:14: error: " + findings[0].message);
  EXPECT_EQ(findingLine(results[1]), "note: " + findings[1].message);

  json log = json::parse(sarifLog(findingRules(), results));
  EXPECT_EQ(log["version"], "2.1.0");
  EXPECT_EQ(log["runs"][0]["tool"]["driver"]["version"].get<std::string>().find(' '),
            std::string::npos);
  const json& run = log["runs"][0];
  const json& first = run["results"][0];
  EXPECT_EQ(run["tool"]["driver"]["rules"][first["ruleIndex"].get<int>()]["id"], "cut");
  EXPECT_EQ(first["level"], "error");
  EXPECT_EQ(first["baselineState"], "new");
  const json& where = first["locations"][0]["physicalLocation"];
  EXPECT_EQ(where["artifactLocation"]["uri"], "my%20bundle/de.lproj/Localizable.strings");
  EXPECT_EQ(where["region"]["startLine"], 14);
  const json& second = run["results"][1];
  EXPECT_FALSE(second.contains("locations"));
  EXPECT_EQ(second["baselineState"], "unchanged");
  EXPECT_EQ(second["suppressions"][0]["justification"], "the design");
  // The fingerprint is the cause: it does not move with the line.
  de.texts[0].line = 99;
  EXPECT_EQ(findingResults(groupFindings({de}), "my bundle", true)[0].fingerprint,
            results[0].fingerprint);
}

}  // namespace
}  // namespace host
