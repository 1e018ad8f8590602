#include "host/ContactSheet.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <memory>

namespace host {
namespace {

constexpr int kGap = 24, kCaption = 28, kTitle = 44;

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

// Draws one line of text, cut with "…" at maxWidth pixels when given.
void drawText(cairo_t* cr, const std::string& text, double x, double y, const char* font, double r,
              double g, double b, int maxWidth = -1) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* desc = pango_font_description_from_string(font);
  pango_layout_set_font_description(layout, desc);
  pango_layout_set_text(layout, text.c_str(), -1);
  if (maxWidth > 0) {
    pango_layout_set_width(layout, maxWidth * PANGO_SCALE);
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  }
  cairo_set_source_rgb(cr, r, g, b);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  pango_font_description_free(desc);
  g_object_unref(layout);
}

}  // namespace

std::optional<std::string> writeContactSheet(const std::string& title,
                                             const std::vector<std::vector<SheetPicture>>& rows,
                                             const std::string& path) {
  std::vector<std::vector<Surface>> images;
  int width = 0, height = kTitle;
  for (const auto& row : rows) {
    std::vector<Surface> loaded;
    int rowWidth = kGap, rowHeight = 0;
    for (const auto& picture : row) {
      Surface s(cairo_image_surface_create_from_png(picture.path.c_str()), cairo_surface_destroy);
      if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS)
        return "cannot read " + picture.path;
      rowWidth += cairo_image_surface_get_width(s.get()) + kGap;
      rowHeight = std::max(rowHeight, cairo_image_surface_get_height(s.get()));
      loaded.push_back(std::move(s));
    }
    width = std::max(width, rowWidth);
    height += rowHeight + kCaption + kGap;
    images.push_back(std::move(loaded));
  }
  Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(width, 400), height),
                cairo_surface_destroy);
  cairo_t* cr = cairo_create(sheet.get());
  // A mid grey lies between the light and the dark widgets, so both show their edges.
  cairo_set_source_rgb(cr, 0.56, 0.58, 0.62);
  cairo_paint(cr);
  drawText(cr, title, kGap, 10, "Inter Bold 16", 1, 1, 1);
  double y = kTitle;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    double x = kGap;
    int rowHeight = 0;
    for (std::size_t i = 0; i < rows[r].size(); ++i) {
      cairo_surface_t* img = images[r][i].get();
      cairo_set_source_surface(cr, img, x, y);
      cairo_paint(cr);
      int h = cairo_image_surface_get_height(img);
      rowHeight = std::max(rowHeight, h);
      const auto& p = rows[r][i];
      int w = cairo_image_surface_get_width(img);
      if (p.flagged)
        drawText(cr, p.caption, x, y + h + 4, "Inter Medium 11", 0.6, 0.0, 0.0, w);
      else
        drawText(cr, p.caption, x, y + h + 4, "Inter 11", 0.1, 0.1, 0.12, w);
      x += w + kGap;
    }
    y += rowHeight + kCaption + kGap;
  }
  cairo_destroy(cr);
  if (cairo_surface_write_to_png(sheet.get(), path.c_str()) != CAIRO_STATUS_SUCCESS)
    return "cannot write " + path;
  return std::nullopt;
}

}  // namespace host
