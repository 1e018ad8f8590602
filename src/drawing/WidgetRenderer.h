// Draws a WidgetScene with Cairo and Pango: the widget's rounded frame (transparent outside),
// the system background, then the scene's layout tree (LayoutTree.h), made once per picture. To the
// bytes of a PNG, SVG or PDF picture, or to pixels, all in memory: the renderer writes no files.
// PNGs and pixels are drawn at a scale of 1 to 3 pixels per point; vector pictures in points. Texts
// are drawn with layouts of the measurer that measured them, in the language they were measured in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "drawing/LayoutTree.h"
#include "drawing/PangoTextMeasurer.h"
#include "drawing/RenderedImage.h"
#include "drawing/WidgetScene.h"

namespace drawing {

// Draws on `cr`, whose transformation maps points to the target: the scene's frame and
// background, and `tree`, which was made from the scene.
void drawScene(cairo_t* cr, const WidgetScene& scene, const LayoutTree& tree,
               const PangoTextMeasurer& measurer);

RenderedImage renderImage(const WidgetScene& scene, double scale,
                          const PangoTextMeasurer& measurer);

enum class PictureFormat { png, svg, pdf };

// The format a file name asks for by its extension (".png", ".svg", ".pdf", any case); nothing
// for any other name.
std::optional<PictureFormat> pictureFormatForPath(const std::string& path);

// A drawn picture: the picture file's content, a PNG's pixels (for contact sheets and
// comparisons) and the tree of what it shows.
struct Picture {
  PictureFormat format = PictureFormat::png;
  std::string bytes;
  std::optional<RenderedImage> pixels;
  LayoutTree tree;
};

// The one way to draw: the picture of a scene, or a failure with the reason when it cannot be
// made (Cairo's or the encoder's) or when a PNG's scale is outside 1 to 3 (vector pictures are
// drawn in points, and their tree still names the scale asked for).
base::Result<Picture> drawPicture(const WidgetScene& scene, PictureFormat format, double scale,
                                  const PangoTextMeasurer& measurer);

// The pixels of a PNG file (PngCodec.h decodes bytes); a failure saying why it is not one.
base::Result<RenderedImage> readPng(const std::string& path);

}  // namespace drawing
