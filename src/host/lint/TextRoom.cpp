#include "host/lint/TextRoom.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <tuple>

#include "host/core/DeviceSetup.h"
#include "host/core/FamilyNames.h"
#include "host/core/HostSession.h"
#include "host/findings/Sarif.h"
#include "host/lint/TableLint.h"
#include "host/pictures/Drawing.h"

namespace host {
namespace {

// What a line of the table shows of a text at most; a table's value may be of any length.
constexpr std::size_t kShownCharacters = 48;

std::string points(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", value);
  std::string s = buffer;
  if (s.ends_with(".0")) s.resize(s.size() - 2);
  return s + " pt";
}

// The text as one line may show it: control characters as "\u{..}", cut after a few characters
// (whole UTF-8 sequences) with "…".
std::string shown(const std::string& text) {
  std::string out;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (characters == kShownCharacters) return out + "…";
    auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    length = std::min(length, text.size() - i);
    if (c < 0x20 || c == 0x7F) {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "\\u{%X}", c);
      out += buffer;
    } else {
      out.append(text, i, length);
    }
    i += length;
    ++characters;
  }
  return out;
}

std::string roomWords(const RoomUse& u) {
  if (!u.room) return "room unlimited";
  std::string s = "room " + points(*u.room);
  if (u.lineLimit && *u.lineLimit > 1) s += " × " + std::to_string(*u.lineLimit) + " lines";
  return s;
}

RoomOutcome outcomeOf(const swiftui::TextLayout& t) {
  if (t.truncated) return RoomOutcome::cut;
  if (t.missingGlyphs > 0) return RoomOutcome::missingGlyphs;
  if (t.shrunk) return RoomOutcome::shrinks;
  return RoomOutcome::fits;
}

std::string outcomeWords(const RoomUse& u) {
  std::string s;
  switch (u.outcome) {
    case RoomOutcome::fits:
      s = "fits";
      break;
    case RoomOutcome::shrinks:
      s = "shrinks to " + points(u.fontSize) + " (minimum " + points(u.minimumFontSize) + ")";
      break;
    case RoomOutcome::cut:
      s = "cut to “" + shown(u.drawn) + "”";
      break;
    case RoomOutcome::missingGlyphs:
      break;
  }
  if (u.missingGlyphs > 0)
    s += std::string(s.empty() ? "" : "; ") + std::to_string(u.missingGlyphs) + " character" +
         (u.missingGlyphs == 1 ? "" : "s") + " no font draws";
  return s;
}

// Collects the uses, key by key and place by place, in the order first met.
class Collector {
 public:
  explicit Collector(const drawing::PangoTextMeasurer& measurer) : measurer_(measurer) {}

  void add(const swiftui::LayoutNode& root, const std::string& language, const std::string& widget,
           const std::string& family) {
    std::map<std::string, int> seen;  // texts of each key met so far in this layout
    for (const swiftui::LayoutNode* node : root.findAll("Text")) {
      if (!node->text || !node->text->source) continue;
      const swiftui::TextLayout& t = *node->text;
      const swiftui::TextSource& source = *t.source;
      RoomPlace& place = placeOf(source.key, widget, family, seen[source.key]++);
      RoomUse u;
      u.language = language;
      u.table = source.table;
      u.line = source.line;
      u.string = t.string;
      u.room = t.room;
      u.lineLimit = t.lineLimit;
      u.width = node->frame.width;
      u.lines = t.lines;
      u.needs =
          std::ceil(measurer_
                        .measure(t.string, swiftui::Font::system(t.requestedFontSize, t.fontWeight),
                                 std::nullopt, std::nullopt, t.language)
                        .size.width);
      u.requestedFontSize = t.requestedFontSize;
      u.minimumFontSize = t.minimumFontSize;
      u.fontSize = t.fontSize;
      u.missingGlyphs = t.missingGlyphs;
      u.outcome = outcomeOf(t);
      u.drawn = t.drawn;
      place.uses.push_back(std::move(u));
    }
  }

  std::vector<KeyRoom> keys() && {
    std::sort(keys_.begin(), keys_.end(),
              [](const KeyRoom& a, const KeyRoom& b) { return a.key < b.key; });
    return std::move(keys_);
  }

 private:
  RoomPlace& placeOf(const std::string& key, const std::string& widget, const std::string& family,
                     int occurrence) {
    auto k =
        std::find_if(keys_.begin(), keys_.end(), [&](const KeyRoom& r) { return r.key == key; });
    if (k == keys_.end()) k = keys_.insert(keys_.end(), KeyRoom{key, {}});
    for (RoomPlace& p : k->places)
      if (std::tie(p.widget, p.family, p.occurrence) == std::tie(widget, family, occurrence))
        return p;
    return k->places.emplace_back(RoomPlace{widget, family, occurrence, {}});
  }

  const drawing::PangoTextMeasurer& measurer_;
  std::vector<KeyRoom> keys_;
};

std::string placeWords(const RoomPlace& p) {
  return p.widget + " " + p.family +
         (p.occurrence > 0 ? " #" + std::to_string(p.occurrence + 1) : "");
}

std::vector<RoomProblem> problemsOf(const std::vector<KeyRoom>& keys) {
  std::vector<RoomProblem> out;
  for (const KeyRoom& k : keys) {
    for (const RoomPlace& p : k.places) {
      const RoomUse* english = p.english();
      for (const RoomUse& u : p.uses) {
        if (u.outcome == RoomOutcome::fits) {
          // Nothing is cut where any number of lines is allowed, but the lines below move down.
          if (!u.lineLimit && english && u.lines > english->lines)
            out.push_back(
                {u.table, std::max(u.line, 1), k.key, Severity::warning,
                 shown(k.key) + " wraps to " + std::to_string(u.lines) + " lines in " +
                     placeWords(p) + " (" + roomWords(u) + ", English takes " +
                     std::to_string(english->lines) + ")" +
                     (u.table.rfind(u.language + ".lproj/", 0) != 0 ? " drawn in " + u.language
                                                                    : std::string())});
          continue;
        }
        std::string message = shown(k.key) + " needs " + points(u.needs) + " in " + placeWords(p) +
                              " (" + roomWords(u) + ", English uses " +
                              (english ? points(english->width) : std::string("nothing here")) +
                              ")";
        if (u.table.rfind(u.language + ".lproj/", 0) != 0) message += " drawn in " + u.language;
        message += "; " + outcomeWords(u);
        Severity severity = u.outcome == RoomOutcome::shrinks ? Severity::note : Severity::error;
        out.push_back({u.table, std::max(u.line, 1), k.key, severity, std::move(message)});
      }
    }
  }
  std::stable_sort(out.begin(), out.end(), [](const RoomProblem& a, const RoomProblem& b) {
    return std::tie(a.file, a.line) < std::tie(b.file, b.line);
  });
  return out;
}

std::string systemWords(const std::optional<os::SystemVersion>& v) {
  return v ? "iOS " + v->text() : "iOS unknown";
}

}  // namespace

std::optional<double> RoomUse::share() const {
  if (!room || *room <= 0) return std::nullopt;
  return width / *room * 100;
}

const RoomUse* RoomPlace::english() const {
  for (const RoomUse& u : uses)
    if (u.language == developmentLanguage) return &u;
  return nullptr;
}

RoomReport mergeRoomReports(std::vector<RoomReport> reports) {
  if (reports.empty()) return {};
  RoomReport out = std::move(reports.front());
  for (std::size_t r = 1; r < reports.size(); ++r) {
    for (KeyRoom& key : reports[r].keys) {
      auto known = std::find_if(out.keys.begin(), out.keys.end(),
                                [&](const KeyRoom& k) { return k.key == key.key; });
      if (known == out.keys.end()) {
        out.keys.push_back(std::move(key));
        continue;
      }
      for (RoomPlace& place : key.places)
        if (std::none_of(known->places.begin(), known->places.end(), [&](const RoomPlace& p) {
              return p.widget == place.widget && p.family == place.family &&
                     p.occurrence == place.occurrence;
            }))
          known->places.push_back(std::move(place));
    }
    for (RoomProblem& problem : reports[r].problems)
      if (std::none_of(out.problems.begin(), out.problems.end(), [&](const RoomProblem& p) {
            return p.file == problem.file && p.line == problem.line && p.message == problem.message;
          }))
        out.problems.push_back(std::move(problem));
  }
  std::sort(out.keys.begin(), out.keys.end(),
            [](const KeyRoom& a, const KeyRoom& b) { return a.key < b.key; });
  std::stable_sort(out.problems.begin(), out.problems.end(),
                   [](const RoomProblem& a, const RoomProblem& b) {
                     return std::tie(a.file, a.line) < std::tie(b.file, b.line);
                   });
  return out;
}

bool RoomReport::hasErrors() const {
  return std::any_of(problems.begin(), problems.end(),
                     [](const RoomProblem& p) { return p.severity == Severity::error; });
}

Result<RoomReport> measureTextRoom(const TextRoomInput& in,
                                   const drawing::PangoTextMeasurer& measurer) {
  RoomReport report;
  report.device = in.phone.name;
  report.system = systemWords(in.device.systemVersion);
  // English first: every other language is read against it.
  report.languages.push_back(developmentLanguage);
  for (const std::string& l : in.languages)
    if (std::find(report.languages.begin(), report.languages.end(), l) == report.languages.end())
      report.languages.push_back(l);

  Collector collector(measurer);
  const PictureLook look{Appearance::light, in.phone, in.scale, drawing::PictureFormat::png};
  for (const std::string& language : report.languages) {
    const device::Device d = deviceInLanguage(in.device, language);
    for (const auto& member : in.body(d).declared()) {
      if (const auto* control = std::get_if<widgetkit::ControlConfiguration>(&member)) {
        collector.add(layoutControl(d, *control, look, measurer).layout.root, language,
                      control->kind(), "control");
        continue;
      }
      const auto& widget = std::get<widgetkit::WidgetConfiguration>(member);
      for (auto family : widget.families()) {
        if (!in.phone.widgetSize(family)) continue;  // not on a phone's home screen
        auto entry = entryFor(d, widget, family, EntryChoice::timeline);
        auto scene = layoutWidgetEntry(d, widget, family, entry, look, measurer);
        if (!scene) return scene.failure();
        collector.add(scene->layout.root, language, widget.kind(), familyName(family));
      }
    }
  }
  report.keys = std::move(collector).keys();
  report.problems = problemsOf(report.keys);
  return report;
}

std::string roomProblemLines(const RoomReport& report) {
  std::string out;
  for (const RoomProblem& p : report.problems)
    out += locatedLine(shown(p.file), p.line, p.severity, p.message) + "\n";
  return out;
}

std::string roomText(const RoomReport& report) {
  std::string out = "Room for each text on " + report.device + ", " + report.system + ", in " +
                    std::to_string(report.languages.size()) + " languages\n";
  // One row of the table: the columns padded to their widths, the last as it is.
  auto row = [](std::initializer_list<std::pair<std::string, std::size_t>> columns) {
    std::string line = "   ";
    for (const auto& [text, width] : columns) {
      line += " " + text;
      std::size_t characters = 0;
      for (char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
      if (characters < width) line.append(width - characters, ' ');
    }
    while (line.ends_with(' ')) line.pop_back();
    return line + "\n";
  };
  for (const KeyRoom& k : report.keys) {
    out += "\n" + shown(k.key) + "\n";
    for (const RoomPlace& p : k.places) {
      out += "  " + placeWords(p) + "\n";
      out += row(
          {{"language", 8}, {"room", 16}, {"uses", 9}, {"lines", 5}, {"share", 6}, {"outcome", 0}});
      for (const RoomUse& u : p.uses) {
        std::string room = u.room ? points(*u.room) : "unlimited";
        if (u.lineLimit)
          room += ", " + std::to_string(*u.lineLimit) + (*u.lineLimit == 1 ? " line" : " lines");
        std::string share;
        if (auto s = u.share())
          share = std::to_string(static_cast<long long>(std::lround(*s))) + " %";
        out += row({{shown(u.language), 8},
                    {room, 16},
                    {points(u.width), 9},
                    {std::to_string(u.lines), 5},
                    {share, 6},
                    {outcomeWords(u), 0}});
      }
    }
  }
  auto count = [&](Severity s) {
    return std::to_string(std::count_if(report.problems.begin(), report.problems.end(),
                                        [s](const RoomProblem& p) { return p.severity == s; }));
  };
  out += "\n" + count(Severity::error) + " cut or not drawable, " + count(Severity::warning) +
         " wrapping to more lines than English, " + count(Severity::note) + " shrunk\n";
  return out + roomProblemLines(report);
}

std::string roomJson(const RoomReport& report) {
  using Json = nlohmann::ordered_json;
  auto optional = [](const auto& v) { return v ? Json(*v) : Json(); };
  Json keys = Json::array();
  for (const KeyRoom& k : report.keys) {
    Json places = Json::array();
    for (const RoomPlace& p : k.places) {
      Json uses = Json::array();
      for (const RoomUse& u : p.uses)
        uses.push_back({{"language", u.language},
                        {"table", u.table},
                        {"line", u.line},
                        {"string", u.string},
                        {"room", optional(u.room)},
                        {"lineLimit", optional(u.lineLimit)},
                        {"width", u.width},
                        {"lines", u.lines},
                        {"share", optional(u.share())},
                        {"needs", u.needs},
                        {"fontSize", u.fontSize},
                        {"requestedFontSize", u.requestedFontSize},
                        {"minimumFontSize", u.minimumFontSize},
                        {"outcome", std::string(kRoomOutcomeNames.nameOf(u.outcome))},
                        {"drawn", u.drawn},
                        {"missingGlyphs", u.missingGlyphs}});
      places.push_back({{"widget", p.widget},
                        {"family", p.family},
                        {"occurrence", p.occurrence},
                        {"uses", std::move(uses)}});
    }
    keys.push_back({{"key", k.key}, {"places", std::move(places)}});
  }
  Json problems = Json::array();
  for (const RoomProblem& p : report.problems)
    problems.push_back({{"file", p.file},
                        {"line", p.line},
                        {"key", p.key},
                        {"severity", std::string(kSeverityNames.nameOf(p.severity))},
                        {"message", p.message}});
  Json out{{"device", report.device},
           {"system", report.system},
           {"languages", report.languages},
           {"keys", std::move(keys)},
           {"problems", std::move(problems)}};
  return out.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace host
