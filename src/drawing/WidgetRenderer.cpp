#include "drawing/WidgetRenderer.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "drawing/GraphicsHandles.h"
#include "drawing/PngCodec.h"

namespace drawing {

namespace {

// The home screen's continuous corners: each corner is a superellipse spanning about 1.53 radii
// of each edge, which meets the straight edges without the visible kink of a circular arc.
// Adds to the current path the outline (whole), or only the four bits outside it (corners).
enum class Outline { whole, corners };
void continuousRoundedRect(cairo_t* cr, double w, double h, double radius,
                           Outline part = Outline::whole) {
  const double e = std::min(radius * 1.528665, std::min(w, h) / 2);
  const double exponent = 2 / 3.3;
  const int steps = 24;
  const double quarter = M_PI / 2;
  // Corner centres and the directions towards their corners, clockwise from the top right.
  const double cx[] = {w - e, w - e, e, e}, cy[] = {e, h - e, h - e, e};
  const double sx[] = {1, 1, -1, -1}, sy[] = {-1, 1, 1, -1};
  const double cornerX[] = {w, w, 0, 0}, cornerY[] = {0, h, h, 0};
  if (part == Outline::whole) cairo_move_to(cr, e, 0);
  for (int k = 0; k < 4; ++k) {
    if (part == Outline::corners) cairo_move_to(cr, cornerX[k], cornerY[k]);
    for (int i = 0; i <= steps; ++i) {
      // Top right and bottom left run from the vertical axis towards the horizontal one.
      double t = (k % 2 == 0) ? quarter * (steps - i) / steps : quarter * i / steps;
      double c = std::pow(std::max(0.0, std::cos(t)), exponent);
      double s = std::pow(std::max(0.0, std::sin(t)), exponent);
      cairo_line_to(cr, cx[k] + sx[k] * e * c, cy[k] + sy[k] * e * s);
    }
    if (part == Outline::corners) cairo_close_path(cr);
  }
  if (part == Outline::whole) cairo_close_path(cr);
}

void setSource(cairo_t* cr, const uikit::RGBA& c) {
  cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

void fillRect(cairo_t* cr, const swiftui::Rect& r, const uikit::RGBA& c) {
  setSource(cr, c);
  cairo_rectangle(cr, r.x, r.y, r.width, r.height);
  cairo_fill(cr);
}

// A circle fitted to the frame: as wide as its shorter side, centred.
void fillCircle(cairo_t* cr, const swiftui::Rect& r, const uikit::RGBA& c) {
  setSource(cr, c);
  cairo_new_path(cr);
  cairo_arc(cr, r.x + r.width / 2, r.y + r.height / 2, std::min(r.width, r.height) / 2, 0,
            2 * M_PI);
  cairo_fill(cr);
}

// Symbols the fonts can show; others are drawn as an outlined square.
const char* symbolGlyph(const std::string& name) {
  struct Entry {
    const char* name;
    const char* glyph;
  };
  static constexpr Entry kSymbols[] = {
      {"plus", "+"},
      {"plus.circle", "⊕"},
      {"plus.circle.fill", "⊕"},
      {"minus", "−"},
      {"checkmark", "✓"},
      {"xmark", "✕"},
      {"arrow.up", "↑"},
      {"arrow.down", "↓"},
      {"arrow.up.right", "↗"},
      {"arrow.down.right", "↘"},
      {"star", "☆"},
      {"star.fill", "★"},
  };
  for (const Entry& e : kSymbols)
    if (name == e.name) return e.glyph;
  return nullptr;
}

// Leading is the left edge in left-to-right layout and the right edge in right-to-left layout.
PangoAlignment pangoAlignment(swiftui::TextAlignment alignment,
                              swiftui::LayoutDirection direction) {
  if (alignment == swiftui::TextAlignment::center) return PANGO_ALIGN_CENTER;
  bool leading = alignment == swiftui::TextAlignment::leading;
  bool leftToRight = direction == swiftui::LayoutDirection::leftToRight;
  return leading == leftToRight ? PANGO_ALIGN_LEFT : PANGO_ALIGN_RIGHT;
}

class Painter {
 public:
  Painter(cairo_t* cr, const LayoutTree& tree, const PangoTextMeasurer& measurer)
      : cr_(cr), tree_(tree), measurer_(measurer) {}

  void draw(const LayoutTreeNode& node) {
    switch (node.kind) {
      case NodeKind::background:
        if (!node.color) break;
        if (node.shape == swiftui::ShapeKind::circle)
          fillCircle(cr_, node.frame, tree_.shown(node, *node.color));
        else
          fillRect(cr_, node.frame, tree_.shown(node, *node.color));
        break;
      case NodeKind::rectangle:
        if (node.color) fillRect(cr_, node.frame, tree_.shown(node, *node.color));
        break;
      case NodeKind::text:
        if (node.text) drawText(node, *node.text);
        break;
      case NodeKind::symbol:
        drawSymbol(node);
        break;
      case NodeKind::vStack:
      case NodeKind::hStack:
      case NodeKind::group:
      case NodeKind::spacer:
      case NodeKind::label:
      case NodeKind::frame:
      case NodeKind::padding:
      case NodeKind::empty:
        break;
    }
    for (const LayoutTreeNode& child : node.children) draw(child);
  }

 private:
  void drawText(const LayoutTreeNode& node, const swiftui::TextLayout& text) {
    const swiftui::Rect& frame = node.frame;
    PangoLayoutHandle layout(pango_layout_new(contextFor(text.drawn)));
    // Several lines are wrapped again at the frame's width, which breaks them where measured.
    std::optional<double> width;
    if (text.lines > 1) width = frame.width;
    measurer_.configure(layout.get(), text.drawn,
                        swiftui::Font::system(text.fontSize, text.fontWeight), width,
                        text.language);
    pango_layout_set_alignment(layout.get(), pangoAlignment(text.alignment, text.direction));
    setSource(cr_, tree_.shown(node, text.color));
    cairo_move_to(cr_, frame.x, frame.y);
    pango_cairo_show_layout(cr_, layout.get());
  }

  void drawSymbol(const LayoutTreeNode& node) {
    const swiftui::Rect& f = node.frame;
    uikit::RGBA color = tree_.shown(node, node.color.value_or(uikit::RGBA{}));
    const char* glyph = symbolGlyph(node.systemImage.value_or(""));
    setSource(cr_, color);
    if (!glyph) {
      double side = f.width * 0.8;
      cairo_set_line_width(cr_, std::max(1.0, f.width / 12));
      cairo_rectangle(cr_, f.x + (f.width - side) / 2, f.y + (f.height - side) / 2, side, side);
      cairo_stroke(cr_);
      return;
    }
    PangoLayoutHandle layout(pango_layout_new(contextFor(glyph)));
    measurer_.configure(layout.get(), glyph, swiftui::Font::system(f.width), std::nullopt);
    PangoRectangle ink;
    pango_layout_get_extents(layout.get(), &ink, nullptr);
    double x =
        f.x + (f.width - pango_units_to_double(ink.width)) / 2 - pango_units_to_double(ink.x);
    double y =
        f.y + (f.height - pango_units_to_double(ink.height)) / 2 - pango_units_to_double(ink.y);
    cairo_move_to(cr_, x, y);
    pango_cairo_show_layout(cr_, layout.get());
  }

  // The drawing context with the fonts the text needs, made on first use.
  PangoContext* contextFor(std::string_view text) {
    const FontReach reach = reachOf(text);
    PangoContextHandle& context = reach == FontReach::namedFamilies ? named_ : every_;
    if (!context) context = measurer_.drawingContext(cr_, reach);
    return context.get();
  }

  cairo_t* cr_;
  const LayoutTree& tree_;
  const PangoTextMeasurer& measurer_;
  PangoContextHandle named_, every_;
};

// The wallpaper seen through the glass, covering the frame (scaled to fill, centred); smoothly
// filtered, so a small wallpaper comes out as a blur.
void paintWallpaper(cairo_t* cr, const RenderedImage& wallpaper, double w, double h) {
  if (!wallpaper.whole()) return;
  // The pixels are only read: Cairo takes a mutable pointer for surfaces it may draw on.
  CairoSurface image(cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(wallpaper.pixels.data())),
      CAIRO_FORMAT_ARGB32, wallpaper.width, wallpaper.height,
      wallpaper.width * static_cast<int>(sizeof(std::uint32_t))));
  double scale = std::max(w / wallpaper.width, h / wallpaper.height);
  cairo_save(cr);
  cairo_translate(cr, (w - wallpaper.width * scale) / 2, (h - wallpaper.height * scale) / 2);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, image.get(), 0, 0);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_restore(cr);
}

// The system background, or in the accented mode the host's backdrop.
void paintBackground(cairo_t* cr, const WidgetScene& scene) {
  if (scene.accented && scene.accented->wallpaper)
    paintWallpaper(cr, *scene.accented->wallpaper, scene.layout.size.width,
                   scene.layout.size.height);
  setSource(cr, scene.background);
  cairo_paint(cr);
}

std::string extensionOf(const std::string& path) {
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return "";
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return ext;
}

bool scaleAllowed(double scale) {
  return scale >= 1 && scale <= 3;
}

// A surface that draws straight into `image`, sized for the scene at the scale: the pixels are
// never copied. The image must stay where it is while the surface lives.
CairoSurface imageSurface(RenderedImage& image, const WidgetScene& scene, double scale) {
  image.width = static_cast<int>(std::ceil(scene.layout.size.width * scale - 1e-9));
  image.height = static_cast<int>(std::ceil(scene.layout.size.height * scale - 1e-9));
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
  return CairoSurface(cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(image.pixels.data()), CAIRO_FORMAT_ARGB32, image.width,
      image.height, image.width * 4));
}

void drawScaled(cairo_surface_t* surface, const WidgetScene& scene, const LayoutTree& tree,
                double scale, const PangoTextMeasurer& measurer) {
  CairoContext cr(cairo_create(surface));
  cairo_scale(cr.get(), scale, scale);
  drawScene(cr.get(), scene, tree, measurer);
  cr.reset();
  cairo_surface_flush(surface);
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

base::Failure encodingError(cairo_status_t status) {
  return base::Failure::runtime(std::string("cannot encode the picture: ") +
                                cairo_status_to_string(status));
}

}  // namespace

void drawScene(cairo_t* cr, const WidgetScene& scene, const LayoutTree& tree,
               const PangoTextMeasurer& measurer) {
  const double w = scene.layout.size.width, h = scene.layout.size.height;
  cairo_save(cr);
  if (cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_IMAGE) {
    // On pixels, clipping every drawing to the curved outline costs more than drawing unclipped
    // and then clearing what lies outside it.
    paintBackground(cr, scene);
    Painter(cr, tree, measurer).draw(tree.root);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_new_path(cr);
    continuousRoundedRect(cr, w, h, scene.cornerRadius, Outline::corners);
    cairo_fill(cr);
  } else {
    cairo_new_path(cr);
    continuousRoundedRect(cr, w, h, scene.cornerRadius);
    cairo_clip(cr);
    paintBackground(cr, scene);
    Painter(cr, tree, measurer).draw(tree.root);
  }
  cairo_restore(cr);
}

RenderedImage renderImage(const WidgetScene& scene, double scale,
                          const PangoTextMeasurer& measurer) {
  RenderedImage image;
  {
    CairoSurface surface = imageSurface(image, scene, scale);
    drawScaled(surface.get(), scene, layoutTree(scene, scale), scale, measurer);
  }
  return image;
}

std::optional<PictureFormat> pictureFormatForPath(const std::string& path) {
  std::string ext = extensionOf(path);
  if (ext == "png") return PictureFormat::png;
  if (ext == "svg") return PictureFormat::svg;
  if (ext == "pdf") return PictureFormat::pdf;
  return std::nullopt;
}

base::Result<Picture> drawPicture(const WidgetScene& scene, PictureFormat format, double scale,
                                  const PangoTextMeasurer& measurer) {
  Picture picture{format, {}, std::nullopt, layoutTree(scene, scale)};
  const double w = scene.layout.size.width, h = scene.layout.size.height;
  if (format == PictureFormat::png) {
    if (!scaleAllowed(scale)) return base::Failure::runtime("the scale must be between 1 and 3");
    RenderedImage pixels;
    {
      CairoSurface surface = imageSurface(pixels, scene, scale);
      drawScaled(surface.get(), scene, picture.tree, scale, measurer);
      if (cairo_status_t status = cairo_surface_status(surface.get());
          status != CAIRO_STATUS_SUCCESS)
        return encodingError(status);
    }
    auto png = encodePng(pixels);
    if (!png) return png.failure();
    picture.bytes = std::move(*png);
    picture.pixels = std::move(pixels);
    return picture;
  }
  CairoSurface surface(
      format == PictureFormat::svg
          ? cairo_svg_surface_create_for_stream(appendBytes, &picture.bytes, w, h)
          : cairo_pdf_surface_create_for_stream(appendBytes, &picture.bytes, w, h));
  drawScaled(surface.get(), scene, picture.tree, 1, measurer);
  cairo_surface_finish(surface.get());
  cairo_status_t status = cairo_surface_status(surface.get());
  if (status != CAIRO_STATUS_SUCCESS) return encodingError(status);
  return picture;
}

base::Result<RenderedImage> readPng(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return base::Failure::runtime("cannot read " + path);
  return decodePng(std::string(std::istreambuf_iterator<char>(in), {}));
}

}  // namespace drawing
