// What a translator or designer must look at in a drawn widget: every text that was shrunk, cut
// off, or holds characters no installed font can draw, found in the layout tree of its picture.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "drawing/LayoutTree.h"
#include "platform/swiftui/LayoutNode.h"

namespace host {

struct TextFinding {
  std::string string;  // the full text
  std::string drawn;   // what was drawn
  double fontSize = 0;
  bool shrunk = false;
  bool truncated = false;
  int missingGlyphs = 0;
  // Where the text came from, when it came from a string table.
  std::optional<std::string> table{};  // "de.lproj/Localizable.strings"
  std::optional<std::string> key{};
  std::optional<int> line{};
  std::optional<std::string> language{};  // what it was measured and drawn in
  double minimumFontSize = 0;             // the smallest it may shrink to

  // Shrunk as far as it may go: it would be cut at any smaller room.
  bool atFloor() const { return shrunk && fontSize <= minimumFontSize + 0.01; }

  // "cut", "shrunk", "missing glyphs", joined with ", ".
  std::string problems() const;
  bool operator==(const TextFinding&) const = default;
};

// Every text of the tree with a problem, in drawing order.
std::vector<TextFinding> findTextProblems(const drawing::LayoutTree& tree);

// How far, in points, the content reaches past the space the host gives it (the widget's frame
// less its content margins) on any edge; 0 when it fits.
double contentOverflow(const swiftui::WidgetLayout& layout);

// How far, in points, a text or an image reaches past the widget's own edge, where the phone
// cuts it off; 0 when all are inside. Backgrounds may reach past it: the phone clips them unseen.
double edgeOverflow(const drawing::LayoutTree& tree);

}  // namespace host
