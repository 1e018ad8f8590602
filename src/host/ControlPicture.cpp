#include "host/ControlPicture.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <pango/pangocairo.h>

#include <cmath>

#include "host/render/LayoutReport.h"

namespace host {
namespace {

constexpr double kWidth = 120, kHeight = 116;
constexpr double kButton = 64;  // the round button's diameter
constexpr double kTitleTop = 80, kTitleWidth = 112;

struct Palette {
  uikit::RGBA button, symbol, title;
};

Palette paletteFor(swiftui::ColorScheme scheme) {
  if (scheme == swiftui::ColorScheme::dark)
    return {{0.23, 0.23, 0.24, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}};
  return {{0.90, 0.90, 0.92, 1}, {0.11, 0.11, 0.12, 1}, {0.11, 0.11, 0.12, 1}};
}

void setSource(cairo_t* cr, const uikit::RGBA& c) {
  cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

void drawSymbol(cairo_t* cr, const std::string& name, double cx, double cy) {
  if (name == "plus") {
    const double arm = 11, half = 1.6;
    cairo_rectangle(cr, cx - arm, cy - half, 2 * arm, 2 * half);
    cairo_rectangle(cr, cx - half, cy - arm, 2 * half, 2 * arm);
    cairo_fill(cr);
  } else {
    cairo_set_line_width(cr, 2);
    cairo_rectangle(cr, cx - 9, cy - 9, 18, 18);
    cairo_stroke(cr);
  }
}

struct TitleLayout {
  std::string drawn;
  double width = 0, height = 0;
  int lines = 0;
  bool truncated = false;
  int missingGlyphs = 0;
};

TitleLayout drawTitle(cairo_t* cr, const std::string& title, const Palette& p,
                      const render::PangoTextMeasurer& measurer) {
  PangoContext* context = measurer.drawingContext(cr).release();
  PangoLayout* layout = pango_layout_new(context);
  swiftui::Font font = swiftui::Font::system(12, swiftui::Font::Weight::medium);
  measurer.configure(layout, title, font, kTitleWidth);
  pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
  pango_layout_set_height(layout, -2);  // at most two lines, ellipsized
  pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  auto measured = measurer.measure(title, font, kTitleWidth, 2);
  TitleLayout out;
  out.width = measured.size.width;
  out.height = measured.size.height;
  out.lines = measured.lines;
  out.truncated = measured.truncated;
  out.drawn = measured.drawn;
  out.missingGlyphs = measured.missingGlyphs;
  setSource(cr, p.title);
  cairo_move_to(cr, (kWidth - kTitleWidth) / 2, kTitleTop);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  g_object_unref(context);
  return out;
}

}  // namespace

std::variant<nlohmann::json, std::string> drawControlPicture(
    const ControlPictureRequest& r, const render::PangoTextMeasurer& measurer) {
  std::string ext = r.outputPath.substr(r.outputPath.rfind('.') + 1);
  cairo_surface_t* surface = nullptr;
  double scale = 1;
  if (ext == "png") {
    scale = r.scale;
    surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(std::ceil(kWidth * scale)),
                                   static_cast<int>(std::ceil(kHeight * scale)));
  } else if (ext == "svg") {
    surface = cairo_svg_surface_create(r.outputPath.c_str(), kWidth, kHeight);
  } else if (ext == "pdf") {
    surface = cairo_pdf_surface_create(r.outputPath.c_str(), kWidth, kHeight);
  } else {
    return "cannot tell the picture format of " + r.outputPath + " (use .png, .svg or .pdf)";
  }
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, scale, scale);
  Palette p = paletteFor(r.appearance);
  double cx = kWidth / 2, cy = 8 + kButton / 2;
  setSource(cr, p.button);
  cairo_arc(cr, cx, cy, kButton / 2, 0, 2 * M_PI);
  cairo_fill(cr);
  setSource(cr, p.symbol);
  drawSymbol(cr, r.systemImage, cx, cy);
  TitleLayout title = drawTitle(cr, r.title, p, measurer);
  cairo_destroy(cr);
  cairo_status_t status = CAIRO_STATUS_SUCCESS;
  if (ext == "png") {
    status = cairo_surface_write_to_png(surface, r.outputPath.c_str());
  } else {
    cairo_surface_finish(surface);
    status = cairo_surface_status(surface);
  }
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS)
    return "cannot write " + r.outputPath + ": " + cairo_status_to_string(status);

  auto frame = [](double x, double y, double w, double h) {
    return nlohmann::json{{"x", x}, {"y", y}, {"width", w}, {"height", h}};
  };
  nlohmann::json button = {{"type", "Button"},
                           {"frame", frame(cx - kButton / 2, 8, kButton, kButton)},
                           {"color", render::hexColor(p.button)},
                           {"children",
                            {{{"type", "Image"},
                              {"systemImage", r.systemImage},
                              {"frame", frame(cx - 11, cy - 11, 22, 22)},
                              {"color", render::hexColor(p.symbol)},
                              {"children", nlohmann::json::array()}}}}};
  nlohmann::json text = {
      {"type", "Text"},
      {"frame", frame((kWidth - title.width) / 2, kTitleTop, title.width, title.height)},
      {"string", r.title},
      {"drawn", title.drawn},
      {"fontSize", 12},
      {"fontWeight", "medium"},
      {"color", render::hexColor(p.title)},
      {"lines", title.lines},
      {"shrunk", false},
      {"truncated", title.truncated},
      {"missingGlyphs", title.missingGlyphs},
      {"children", nlohmann::json::array()}};
  return nlohmann::json{{"size", {{"width", kWidth}, {"height", kHeight}}},
                        {"scale", scale},
                        {"root",
                         {{"type", "Control"},
                          {"frame", frame(0, 0, kWidth, kHeight)},
                          {"children", {button, text}}}}};
}

}  // namespace host
