// The layout report: a drawn widget as JSON, so that a program can find cut texts, shrunk texts
// and missing glyphs. {"size": {"width", "height"}, "scale", "root"}, plus "widgetURL" when the
// widget has one. Every node has "type", "frame" ({"x", "y", "width", "height"} in points from
// the widget's top-left corner, margins included) and "children"; a Text adds "string", "drawn",
// "fontSize", "fontWeight", "color" ("#RRGGBB"), "lines", "shrunk", "truncated" and
// "missingGlyphs", "language" when the text has one, and "table", "key" and "line" when it came
// from a string table; a filled shape, a background or a symbol adds "color", a background
// filling a circle "shape": "circle". Written from the layout tree at the program's edges (files,
// answers); only made, never written to a file here.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "drawing/LayoutTree.h"

namespace drawing {

nlohmann::json layoutReport(const LayoutTree& tree);
// The same, of a scene laid out for a picture at `scale`.
nlohmann::json layoutReport(const WidgetScene& scene, double scale);

// A length as the report gives it: to a thousandth of a point.
double reportedLength(double points);

// "#RRGGBB" of a colour as drawn (opacity left out).
std::string hexColor(const uikit::RGBA& color);

}  // namespace drawing
