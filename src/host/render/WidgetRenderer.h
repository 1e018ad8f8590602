// Draws a WidgetScene with Cairo and Pango: the widget's rounded frame (transparent outside),
// the system background, then the laid-out tree. To a PNG, SVG or PDF file chosen by extension,
// or to pixels in memory. PNGs and pixels are drawn at a scale of 1 to 3 pixels per point;
// vector files in points. Texts are drawn with layouts of the measurer that measured them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/render/PangoTextMeasurer.h"
#include "host/render/WidgetScene.h"

namespace render {

// Pixels as drawn, row by row, each 0xAARRGGBB with premultiplied alpha.
struct RenderedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  // Straight (not premultiplied) components 0...255 of the pixel at column x, row y.
  struct Pixel {
    int red, green, blue, alpha;
    bool operator==(const Pixel&) const = default;
  };
  Pixel at(int x, int y) const;
};

// Draws on `cr`, whose transformation maps points to the target.
void drawScene(cairo_t* cr, const WidgetScene& scene, const PangoTextMeasurer& measurer);

RenderedImage renderImage(const WidgetScene& scene, double scale,
                          const PangoTextMeasurer& measurer);

// Writes the picture to `path` (".png", ".svg" or ".pdf"); an error message when it cannot.
std::optional<RenderError> writePicture(const WidgetScene& scene, const std::string& path,
                                        double scale, const PangoTextMeasurer& measurer);

// Reads a PNG into pixels (used to compare pictures); nothing when unreadable.
std::optional<RenderedImage> readPng(const std::string& path);

}  // namespace render
