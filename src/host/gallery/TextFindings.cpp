#include "host/gallery/TextFindings.h"

#include <algorithm>

namespace host {
namespace {

void collect(const nlohmann::json& node, std::vector<TextFinding>& out) {
  if (node.value("type", "") == "Text") {
    TextFinding f;
    f.string = node.value("string", "");
    f.drawn = node.value("drawn", "");
    f.fontSize = node.value("fontSize", 0.0);
    f.shrunk = node.value("shrunk", false);
    f.truncated = node.value("truncated", false);
    f.missingGlyphs = node.value("missingGlyphs", 0);
    if (node.contains("table") && node.contains("key") && node.contains("line")) {
      f.table = node["table"].get<std::string>();
      f.key = node["key"].get<std::string>();
      f.line = node["line"].get<int>();
    }
    if (f.shrunk || f.truncated || f.missingGlyphs > 0) out.push_back(std::move(f));
  }
  if (auto it = node.find("children"); it != node.end() && it->is_array())
    for (const auto& child : *it) collect(child, out);
}

}  // namespace

std::string TextFinding::problems() const {
  std::string out;
  auto add = [&](const char* p) { out += (out.empty() ? "" : ", ") + std::string(p); };
  if (truncated) add("cut");
  if (shrunk) add("shrunk");
  if (missingGlyphs > 0) add("missing glyphs");
  return out;
}

std::vector<TextFinding> findTextProblems(const nlohmann::json& layoutReport) {
  std::vector<TextFinding> out;
  if (auto it = layoutReport.find("root"); it != layoutReport.end()) collect(*it, out);
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

}  // namespace host
