// Findings worth acting on: what the drawn pictures show, one finding per cause (a text of one
// table in one language; a layout of one widget, family and system; a colour on a background in
// one appearance), each with its severity and the pictures it shows in. The rules that decide the
// severity are here and nowhere else; the README states them.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/core/Result.h"
#include "host/findings/Contrast.h"
#include "host/findings/Severity.h"
#include "host/findings/TextFindings.h"

namespace host {

enum class FindingRule {
  missingGlyphs,  // error: a character drawn as a missing-glyph box
  cut,            // error: a table's text cut in a language where the English text fits
  clipped,        // error: a text or an image cut off by the widget's edge
  cutEverywhere,  // warning: a table's text cut where the English text is cut too
  shrunkToFloor,  // warning: shrunk to the smallest size it may take
  lowContrast,    // warning: below the contrast the accessibility guidelines ask for
  colourOnly,     // warning: texts told apart by colour alone, shown in one tone when tinted
  shrunk,         // note: drawn smaller, within its allowed range
  typedTextCut,   // note: a text the app's user gave (a wallet name, an amount) cut as designed
  pastMargins,    // note: content past the margins but inside the widget, centred as the phone does
};

inline constexpr Names<FindingRule, 10> kFindingRuleNames{{
    {FindingRule::missingGlyphs, "missing-glyphs"},
    {FindingRule::cut, "cut"},
    {FindingRule::clipped, "clipped"},
    {FindingRule::cutEverywhere, "cut-in-english-too"},
    {FindingRule::shrunkToFloor, "shrunk-to-floor"},
    {FindingRule::lowContrast, "low-contrast"},
    {FindingRule::colourOnly, "colour-only"},
    {FindingRule::shrunk, "shrunk"},
    {FindingRule::typedTextCut, "typed-text-cut"},
    {FindingRule::pastMargins, "past-margins"},
}};

Severity severityOf(FindingRule rule);

// A text whose contrast against what is painted behind it is below the guidelines.
struct ContrastShortfall {
  std::string string;
  std::string foreground, background;  // palette names, else "#RRGGBB"
  double ratio = 0, required = 0;
  std::string foregroundColor, backgroundColor;  // as drawn, "#RRGGBB"
  bool operator==(const ContrastShortfall&) const = default;
};

// One drawn picture as the rules see it.
struct PictureFacts {
  std::string picture;  // the file, relative to its gallery
  std::string scenario, system, language, widget, family, appearance;
  std::vector<TextFinding> texts{};  // texts shrunk, cut or with missing glyphs
  double marginOverflow = 0;         // points past the space inside the margins
  double edgeOverflow = 0;           // points past the widget's edge
  std::vector<ContrastShortfall> contrasts{};
  std::vector<ToneMerge> toneMerges{};  // in the accented mode
};

// Half a point is rounding, not a fault.
inline constexpr double kOverflowSlack = 0.5;

// What causes a finding; findings match a baseline's entries by it, so it holds no line number
// and no position. Fields a rule does not use stay empty.
struct FindingCause {
  FindingRule rule = FindingRule::cut;
  std::string table{}, key{}, language{};                // a text from a string table
  std::string widget{}, family{}, system{};              // a layout, or a text from no table
  std::string appearance{}, foreground{}, background{};  // a colour pair
  std::string alike{};  // a colour shown in the foreground's tone
  auto operator<=>(const FindingCause&) const = default;

  nlohmann::ordered_json toJson() const;  // the rule and the fields it uses
  static Result<FindingCause> fromJson(const nlohmann::json& json);
};

// A picture a finding shows in, with what it shows there.
struct FindingPicture {
  std::string picture, scenario, system, language, widget, family, appearance;
  std::string detail;  // "drawn “Einnah…” at 11 pt", "8 pt", "3.1:1 on #FFFFFF"
};

struct Finding {
  FindingCause cause;
  Severity severity = Severity::note;
  std::string message;              // one line naming the cause
  std::optional<std::string> file;  // the string table, relative to the resources
  std::optional<int> line;
  std::vector<FindingPicture> pictures;
  std::optional<std::string> accepted;  // the baseline's reason, when it accepts the finding

  bool isNew() const { return !accepted; }
  nlohmann::ordered_json toJson() const;
};

// Which texts the English pictures cut, place by place (scenario, system, widget, family and
// appearance): a translation cut where the English text fits is an error, one cut where English
// is cut too is the design's own limit.
class EnglishFit {
 public:
  void learn(const PictureFacts& picture);
  // Nothing when no English picture of that place was seen.
  std::optional<bool> cutInEnglish(const PictureFacts& picture, const std::string& key) const;

 private:
  static std::string place(const PictureFacts& p);
  std::set<std::string> places_;
  std::set<std::string> cutKeys_;  // place + "\n" + key
};

// Every finding of the pictures, one per cause, gravest first, then by cause; the pictures under
// each in the order given. `english` must have learnt every English picture there is.
std::vector<Finding> groupFindings(const std::vector<PictureFacts>& pictures,
                                   const EnglishFit& english);
std::vector<Finding> groupFindings(const std::vector<PictureFacts>& pictures);

// The severity of each finding the picture shows, in the order found.
std::vector<Severity> pictureSeverities(const PictureFacts& picture, const EnglishFit& english);
// The gravest of them; nothing for none.
std::optional<Severity> gravest(const std::vector<Severity>& severities);
// "1 error, 2 notes"; empty for none.
std::string severityCounts(const std::vector<Severity>& severities);

// How many findings of each severity there are, new and in all:
// "2 errors (1 new), 3 warnings, 20 notes".
std::string findingCounts(const std::vector<Finding>& findings);

}  // namespace host
