#include "drawing/LayoutTree.h"

#include <array>
#include <utility>

namespace drawing {
namespace {

constexpr std::array<std::pair<NodeKind, std::string_view>, 12> kNames{{
    {NodeKind::vStack, "VStack"},
    {NodeKind::hStack, "HStack"},
    {NodeKind::group, "Group"},
    {NodeKind::spacer, "Spacer"},
    {NodeKind::text, "Text"},
    {NodeKind::rectangle, "Rectangle"},
    {NodeKind::background, "Background"},
    {NodeKind::symbol, "Image"},
    {NodeKind::label, "Label"},
    {NodeKind::frame, "Frame"},
    {NodeKind::padding, "Padding"},
    {NodeKind::empty, "EmptyView"},
}};

LayoutTreeNode nodeOf(const swiftui::LayoutNode& node) {
  LayoutTreeNode out;
  // The layout engine names only the kinds above; anything else draws nothing.
  out.kind = kindNamed(node.type).value_or(NodeKind::empty);
  out.frame = node.frame;
  out.text = node.text;
  out.color = node.color;
  out.shape = node.shape;
  out.systemImage = node.systemImage;
  out.accentGroup = node.accentGroup;
  out.accentedRendering = node.accentedRendering;
  out.children.reserve(node.children.size());
  for (const swiftui::LayoutNode& child : node.children) out.children.push_back(nodeOf(child));
  return out;
}

void collectTexts(const LayoutTreeNode& node, std::vector<const LayoutTreeNode*>& out) {
  if (node.kind == NodeKind::text && node.text) out.push_back(&node);
  for (const LayoutTreeNode& child : node.children) collectTexts(child, out);
}

}  // namespace

std::string_view kindName(NodeKind kind) {
  for (const auto& [k, name] : kNames)
    if (k == kind) return name;
  return "EmptyView";
}

std::optional<NodeKind> kindNamed(std::string_view name) {
  for (const auto& [kind, n] : kNames)
    if (n == name) return kind;
  return std::nullopt;
}

std::vector<const LayoutTreeNode*> LayoutTree::texts() const {
  std::vector<const LayoutTreeNode*> out;
  collectTexts(root, out);
  return out;
}

uikit::RGBA LayoutTree::shown(const LayoutTreeNode& node, const uikit::RGBA& color) const {
  return shownColor(accented, color, node.accentGroup, node.accentedRendering);
}

LayoutTree layoutTree(const WidgetScene& scene, double scale) {
  return {scene.layout.size, scale, scene.widgetURL, nodeOf(scene.layout.root), scene.accented};
}

}  // namespace drawing
