// The layout report: a drawn widget as JSON, so that a program can find cut texts, shrunk texts
// and missing glyphs. {"size": {"width", "height"}, "scale", "root"}, plus "widgetURL" when the
// widget has one. Every node has "type", "frame" ({"x", "y", "width", "height"} in points from
// the widget's top-left corner, margins included) and "children"; a Text adds "string", "drawn",
// "fontSize", "fontWeight", "color" ("#RRGGBB"), "lines", "shrunk", "truncated" and
// "missingGlyphs", and "language" when the text has one; a filled shape, a background or a symbol
// adds "color", a background filling a circle "shape": "circle". Only made, never written here.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "drawing/WidgetScene.h"

namespace drawing {

nlohmann::json layoutReport(const WidgetScene& scene, double scale);

// "#RRGGBB" of a colour as drawn (opacity left out).
std::string hexColor(const uikit::RGBA& color);

}  // namespace drawing
