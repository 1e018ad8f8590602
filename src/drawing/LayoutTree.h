// LayoutTree: what a picture shows, as typed values: the widget's size, the scale it was drawn
// at, its link, and every laid-out node with its kind and frame (in points from the widget's
// top-left corner, margins included); a text with what it says and how it was drawn, and the
// string-table entry it came from. Made once from a laid-out scene; the painter draws it and the
// layout report (LayoutReport.h) writes it as JSON. Plain values.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/WidgetScene.h"
#include "platform/swiftui/LayoutNode.h"

namespace drawing {

enum class NodeKind {
  vStack,
  hStack,
  group,
  spacer,
  text,
  rectangle,   // a filled shape
  background,  // a fill behind its child, a rectangle or a circle
  symbol,      // a system image
  label,       // a symbol beside a title
  frame,
  padding,
  empty,
};

// The name a kind goes by in layout reports ("VStack", "Text", "Image", ...), and back.
std::string_view kindName(NodeKind kind);
std::optional<NodeKind> kindNamed(std::string_view name);

struct LayoutTreeNode {
  NodeKind kind = NodeKind::empty;
  swiftui::Rect frame;
  std::optional<swiftui::TextLayout> text{};  // text: with its source when it has one
  std::optional<uikit::RGBA> color{};         // rectangle, background, symbol: the fill
  swiftui::ShapeKind shape = swiftui::ShapeKind::rectangle;  // background: the fill's outline
  std::optional<std::string> systemImage{};                  // symbol
  // Text, rectangle, background, symbol: its group in the accented mode, and a symbol's way.
  swiftui::AccentGroup accentGroup = swiftui::AccentGroup::standard;
  std::optional<swiftui::WidgetAccentedRenderingMode> accentedRendering{};
  std::vector<LayoutTreeNode> children{};
  bool operator==(const LayoutTreeNode&) const = default;
};

struct LayoutTree {
  swiftui::Size size;
  double scale = 1;  // pixels per point of the picture
  std::optional<std::string> widgetURL{};
  LayoutTreeNode root;
  std::optional<AccentedRendering> accented{};  // nothing: drawn in full colour
  bool operator==(const LayoutTree&) const = default;

  // Every text node in drawing order (depth first).
  std::vector<const LayoutTreeNode*> texts() const;
  // The colour the node, painted in `color`, shows in (shownColor).
  uikit::RGBA shown(const LayoutTreeNode& node, const uikit::RGBA& color) const;
};

LayoutTree layoutTree(const WidgetScene& scene, double scale);

}  // namespace drawing
