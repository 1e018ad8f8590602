#include "host/findings/TextFindings.h"

#include <algorithm>

namespace host {

std::string TextFinding::problems() const {
  std::string out;
  auto add = [&](const char* p) { out += (out.empty() ? "" : ", ") + std::string(p); };
  if (truncated) add("cut");
  if (shrunk) add("shrunk");
  if (missingGlyphs > 0) add("missing glyphs");
  return out;
}

std::vector<TextFinding> findTextProblems(const drawing::LayoutTree& tree) {
  std::vector<TextFinding> out;
  for (const drawing::LayoutTreeNode* node : tree.texts()) {
    const swiftui::TextLayout& t = *node->text;
    if (!t.shrunk && !t.truncated && t.missingGlyphs == 0) continue;
    TextFinding f{t.string, t.drawn, t.fontSize, t.shrunk, t.truncated, t.missingGlyphs};
    if (t.source) {
      f.table = t.source->table;
      f.key = t.source->key;
      f.line = t.source->line;
    }
    f.language = t.language;
    f.minimumFontSize = t.minimumFontSize;
    out.push_back(std::move(f));
  }
  return out;
}

double contentOverflow(const swiftui::WidgetLayout& layout) {
  const auto& f = layout.root.frame;
  const auto& m = layout.contentMargins;
  double over = 0;
  over = std::max(over, m.top - f.y);
  over = std::max(over, m.leading - f.x);
  over = std::max(over, f.y + f.height - (layout.size.height - m.bottom));
  over = std::max(over, f.x + f.width - (layout.size.width - m.trailing));
  return over;
}

namespace {

double pastEdge(const drawing::LayoutTreeNode& node, const swiftui::Size& size) {
  double over = 0;
  if (node.kind == drawing::NodeKind::text || node.kind == drawing::NodeKind::symbol) {
    const auto& f = node.frame;
    over = std::max({-f.x, -f.y, f.x + f.width - size.width, f.y + f.height - size.height, 0.0});
  }
  for (const auto& child : node.children) over = std::max(over, pastEdge(child, size));
  return over;
}

}  // namespace

double edgeOverflow(const drawing::LayoutTree& tree) {
  return pastEdge(tree.root, tree.size);
}

}  // namespace host
