#include "drawing/LayoutReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace drawing {

namespace {

// Thousandths of a point are plenty and keep the report free of float noise.
double rounded(double v) {
  if (!std::isfinite(v)) return v;
  double r = std::round(v * 1000) / 1000;
  return r == 0 ? 0 : r;
}

const char* accentedModeName(swiftui::WidgetAccentedRenderingMode mode) {
  switch (mode) {
    case swiftui::WidgetAccentedRenderingMode::accented:
      return "accented";
    case swiftui::WidgetAccentedRenderingMode::accentedDesaturated:
      return "accentedDesaturated";
    case swiftui::WidgetAccentedRenderingMode::desaturated:
      return "desaturated";
    case swiftui::WidgetAccentedRenderingMode::fullColor:
      break;
  }
  return "fullColor";
}

nlohmann::json layoutReportNode(const LayoutTree& tree, const LayoutTreeNode& node) {
  nlohmann::json j;
  j["type"] = kindName(node.kind);
  j["frame"] = {{"x", rounded(node.frame.x)},
                {"y", rounded(node.frame.y)},
                {"width", rounded(node.frame.width)},
                {"height", rounded(node.frame.height)}};
  if (node.text) {
    const swiftui::TextLayout& t = *node.text;
    j["string"] = t.string;
    j["drawn"] = t.drawn;
    j["fontSize"] = rounded(t.fontSize);
    j["fontWeight"] = swiftui::weightName(t.fontWeight);
    j["color"] = hexColor(t.color);
    j["lines"] = t.lines;
    j["shrunk"] = t.shrunk;
    j["truncated"] = t.truncated;
    j["missingGlyphs"] = t.missingGlyphs;
    if (t.language) j["language"] = *t.language;
    if (t.direction == swiftui::LayoutDirection::rightToLeft) j["direction"] = "rightToLeft";
    if (t.source) {
      j["table"] = t.source->table;
      j["key"] = t.source->key;
      j["line"] = t.source->line;
    }
  } else if (node.color) {
    j["color"] = hexColor(*node.color);
  }
  // In the accented mode the colour asked for is kept and the one shown added.
  std::optional<uikit::RGBA> color = node.text ? std::optional(node.text->color) : node.color;
  if (tree.accented && color) j["shownColor"] = hexColor(tree.shown(node, *color));
  if (node.accentGroup == swiftui::AccentGroup::accent) j["accentable"] = true;
  if (node.accentedRendering)
    j["accentedRenderingMode"] = accentedModeName(*node.accentedRendering);
  if (node.shape == swiftui::ShapeKind::circle) j["shape"] = "circle";
  if (node.systemImage) j["systemImage"] = *node.systemImage;
  nlohmann::json children = nlohmann::json::array();
  for (const LayoutTreeNode& c : node.children) children.push_back(layoutReportNode(tree, c));
  j["children"] = std::move(children);
  return j;
}

}  // namespace

std::string hexColor(const uikit::RGBA& c) {
  auto byte = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  char out[8];
  std::snprintf(out, sizeof out, "#%02X%02X%02X", byte(c.red), byte(c.green), byte(c.blue));
  return out;
}

double reportedLength(double points) {
  return rounded(points);
}

nlohmann::json layoutReport(const LayoutTree& tree) {
  nlohmann::json j;
  j["size"] = {{"width", rounded(tree.size.width)}, {"height", rounded(tree.size.height)}};
  j["scale"] = tree.scale;
  j["root"] = layoutReportNode(tree, tree.root);
  if (tree.widgetURL) j["widgetURL"] = *tree.widgetURL;
  return j;
}

nlohmann::json layoutReport(const WidgetScene& scene, double scale) {
  return layoutReport(layoutTree(scene, scale));
}

}  // namespace drawing
