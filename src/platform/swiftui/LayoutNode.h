// LayoutNode: a laid-out view, what the renderer draws and the layout report lists. Frames are
// in points from the widget's top-left corner. Only views with a layout of their own appear:
// stacks, spacers, shapes, texts, labels, and the frame, padding and background modifiers; the
// styling modifiers are folded into the texts they style. Plain values.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/swiftui/EnvironmentValues.h"
#include "platform/swiftui/Font.h"
#include "platform/swiftui/Geometry.h"
#include "platform/uikit/UIColor.h"

namespace swiftui {

// The string-table entry a text was made from: the table's path relative to the resources
// ("de.lproj/Localizable.strings"), the key, and its line (0: not known).
struct TextSource {
  std::string table;
  std::string key;
  int line = 0;
  bool operator==(const TextSource&) const = default;
};

struct TextLayout {
  std::string string;   // the full text
  std::string drawn;    // what is drawn, ending in "…" when cut
  double fontSize = 0;  // after any shrinking
  Font::Weight fontWeight = Font::Weight::regular;
  uikit::RGBA color;  // resolved in the appearance
  int lines = 0;
  bool shrunk = false;
  bool truncated = false;
  int missingGlyphs = 0;
  TextAlignment alignment = TextAlignment::leading;
  std::optional<std::string> language{};  // BCP 47; measured and drawn in it
  // The paragraph direction the layout gives the text; the text's own runs (numbers, Latin
  // words) keep their order inside it, and leading alignment follows it.
  LayoutDirection direction = LayoutDirection::leftToRight;
  std::optional<TextSource> source{};  // nothing: a text from no table (an amount, a name)
  // The room the text was given: the width offered (nothing: as wide as it likes), the lines it
  // may take (nothing: any number), its font's own size and the smallest it may shrink to.
  std::optional<double> room{};
  std::optional<int> lineLimit{};
  double requestedFontSize = 0;
  double minimumFontSize = 0;
  bool operator==(const TextLayout&) const = default;
};

struct LayoutNode {
  // The primitive's name: "VStack", "HStack", "Spacer", "Text", "Rectangle", "Label", "Image",
  // "Frame", "Padding", "Background", "Group", "EmptyView".
  std::string type;
  Rect frame;
  std::vector<LayoutNode> children;
  std::optional<TextLayout> text;          // Text
  std::optional<uikit::RGBA> color;        // Rectangle, Background, Image: the fill
  ShapeKind shape = ShapeKind::rectangle;  // Background: the outline of the fill
  std::optional<std::string> systemImage;  // Image
  // Text, Rectangle, Background, Image: its group in the accented mode, and an image's way.
  AccentGroup accentGroup = AccentGroup::standard;
  std::optional<WidgetAccentedRenderingMode> accentedRendering;  // Image
  bool operator==(const LayoutNode&) const = default;

  // The nodes of `type` in depth-first order, this one included.
  std::vector<const LayoutNode*> findAll(const std::string& type) const;
  // The `index`-th node of `type` in depth-first order, or nullptr.
  const LayoutNode* find(const std::string& type, std::size_t index = 0) const;
};

// A widget's laid-out content in its host frame.
struct WidgetLayout {
  Size size;                  // the widget's frame
  EdgeInsets contentMargins;  // what the host keeps free around the content
  LayoutNode root;
  bool operator==(const WidgetLayout&) const = default;
};

}  // namespace swiftui
