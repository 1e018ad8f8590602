// The nodes behind View, one struct per primitive or modifier. The layout engine and tests walk
// them; view code uses the functions of View.h instead.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "platform/swiftui/View.h"

namespace swiftui {

enum class Axis { horizontal, vertical };

struct EmptyNode {};
struct StackNode {
  Axis axis;
  // HorizontalAlignment for a VStack, VerticalAlignment for an HStack, as 0, 1, 2.
  int alignment;
  std::optional<double> spacing;
  ViewList children;
};
struct GroupNode {
  ViewList children;
};
struct AnyViewNode {
  View content;
};
struct ConditionalNode {
  bool condition;
  View content;  // the chosen branch
};
struct EnvironmentReaderNode {
  std::function<View(const EnvironmentValues&)> build;
};
struct SpacerNode {
  std::optional<double> minLength;
};
struct RectangleNode {
  std::optional<Color> fill;  // not given: the foreground colour
};
struct TextNode {
  std::string content;
  bool isLocalizedKey = false;
};
struct LabelNode {
  std::string title;
  std::string systemImage;
};
struct ImageNode {
  std::string systemName;
};
struct EnvironmentModifierNode {
  View content;
  EnvironmentPatch patch;
};
struct FlexibleFrameNode {
  View content;
  FlexibleFrame frame;
};
struct FixedFrameNode {
  View content;
  FixedFrame frame;
};
struct PaddingNode {
  View content;
  EdgeInsets insets;
};
struct BackgroundNode {
  View content;
  Color color;
  EdgeSet ignoresSafeAreaEdges;
  ShapeKind shape = ShapeKind::rectangle;
};
struct ContainerBackgroundNode {
  View content;
  BackgroundStyle style;
  ContainerBackgroundPlacement placement;
};
struct WidgetURLNode {
  View content;
  std::optional<std::string> url;
};

struct ViewNode {
  std::variant<EmptyNode, StackNode, GroupNode, AnyViewNode, ConditionalNode, EnvironmentReaderNode,
               SpacerNode, RectangleNode, TextNode, LabelNode, ImageNode, EnvironmentModifierNode,
               FlexibleFrameNode, FixedFrameNode, PaddingNode, BackgroundNode,
               ContainerBackgroundNode, WidgetURLNode>
      value;
};

}  // namespace swiftui
