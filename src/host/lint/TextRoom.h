// How much room each text of the string tables has where the widgets draw it, and what each
// language does with it: every declared widget in every family the phone shows, and the control,
// laid out (not painted) in every language with the real text measurer, as the gallery draws
// them. A translation that is cut or holds characters no font draws is an error; one that wraps
// to more lines than English where it may take any number is a warning; one shrunk within its
// allowed minimum is a note. Needs the pinned fonts (drawing::pinnedFonts()).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "drawing/PangoTextMeasurer.h"
#include "host/core/Result.h"
#include "host/findings/Severity.h"
#include "host/system/HostDevice.h"
#include "platform/device/Device.h"
#include "platform/widgetkit/WidgetBundle.h"

namespace host {

enum class RoomOutcome { fits, shrinks, cut, missingGlyphs };

inline constexpr Names<RoomOutcome, 4> kRoomOutcomeNames{
    {{RoomOutcome::fits, "fits"},
     {RoomOutcome::shrinks, "shrinks"},
     {RoomOutcome::cut, "cut"},
     {RoomOutcome::missingGlyphs, "missing-glyphs"}}};

// One language's text in one place.
struct RoomUse {
  std::string language;          // the language the widget was drawn in
  std::string table;             // where the text came from: "de.lproj/Localizable.strings"
  int line = 0;                  // 0: not known
  std::string string;            // the full text
  std::optional<double> room;    // the width offered, points; nothing: unlimited
  std::optional<int> lineLimit;  // nothing: any number of lines
  double width = 0;              // the width the laid-out text takes
  int lines = 0;                 // the lines it takes
  double needs = 0;              // its width on one line at its own size
  double requestedFontSize = 0, minimumFontSize = 0, fontSize = 0;
  int missingGlyphs = 0;
  RoomOutcome outcome = RoomOutcome::fits;
  std::string drawn;  // what is drawn, ending in "…" when cut

  // The width taken as a share of the room, in percent; nothing for unlimited room.
  std::optional<double> share() const;
};

// Where a text is drawn: a widget's kind and family ("control" for the control), and which of the
// key's texts in that layout (0 for the first).
struct RoomPlace {
  std::string widget;
  std::string family;
  int occurrence = 0;
  std::vector<RoomUse> uses;  // by language, in the order laid out

  // The development language's use, when it was laid out.
  const RoomUse* english() const;
};

struct KeyRoom {
  std::string key;
  std::vector<RoomPlace> places;
};

struct RoomProblem {
  std::string file;  // the table: "de.lproj/Localizable.strings"
  int line = 1;
  std::string key;
  Severity severity = Severity::error;
  std::string message;  // "<key> needs N pt in <widget> <family> (...)"
};

struct RoomReport {
  std::string device;  // the phone
  std::string system;  // "iOS 18.0", or "iOS unknown"
  std::vector<std::string> languages;
  std::vector<KeyRoom> keys;          // by key
  std::vector<RoomProblem> problems;  // by file, then line, errors and notes alike

  bool hasErrors() const;
};

struct TextRoomInput {
  device::Device device;  // as the run set it up: container, system version, bundle
  widgetkit::WidgetBundleBody body;
  std::vector<std::string> languages;  // each laid out as the system's language
  HostDevice phone;
  double scale = 2;  // the pixel grid texts are rounded to
};

// Lays every widget and the control out in every language; a failure only when a layout fails.
Result<RoomReport> measureTextRoom(const TextRoomInput& input,
                                   const drawing::PangoTextMeasurer& measurer);

// Reports of several states of the app (scenarios) as one: each key's place as the first report
// that draws it there has it, and every problem once.
RoomReport mergeRoomReports(std::vector<RoomReport> reports);

// "FILE:LINE: error: MESSAGE" per problem.
std::string roomProblemLines(const RoomReport& report);
// The readable table, key by key, then the problems' lines.
std::string roomText(const RoomReport& report);
std::string roomJson(const RoomReport& report);

}  // namespace host
