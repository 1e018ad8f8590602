#include "host/gallery/ContactSheet.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "drawing/GraphicsHandles.h"
#include "drawing/PngCodec.h"

namespace host {
namespace {

constexpr int kGap = 24, kCaption = 40, kTitle = 44;

using Surface = drawing::CairoSurface;

// Draws text: one line, or when maxWidth is given two lines at most that wide, cut with "…".
void drawText(cairo_t* cr, const std::string& text, double x, double y, const char* font, double r,
              double g, double b, int maxWidth = -1) {
  drawing::PangoLayoutHandle layout(pango_cairo_create_layout(cr));
  drawing::PangoFontDescriptionHandle desc(pango_font_description_from_string(font));
  pango_layout_set_font_description(layout.get(), desc.get());
  pango_layout_set_text(layout.get(), text.c_str(), -1);
  if (maxWidth > 0) {
    pango_layout_set_width(layout.get(), maxWidth * PANGO_SCALE);
    pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
    pango_layout_set_height(layout.get(), -2);  // two lines at most
  }
  cairo_set_source_rgb(cr, r, g, b);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout.get());
}

}  // namespace

Result<std::string> contactSheet(const std::string& title,
                                 const std::vector<std::vector<SheetPicture>>& rows,
                                 double pictureScale) {
  const double shrink = pictureScale > 1 ? 1 / pictureScale : 1;
  auto shown = [&](int pixels) { return static_cast<int>(std::ceil(pixels * shrink - 1e-9)); };
  std::vector<std::vector<Surface>> images;
  int width = 0, height = kTitle;
  for (const auto& row : rows) {
    std::vector<Surface> loaded;
    int rowWidth = kGap, rowHeight = 0;
    for (const auto& picture : row) {
      // Cairo only reads the pixels through this surface.
      auto* data = const_cast<std::uint32_t*>(picture.pixels->pixels.data());
      Surface s(cairo_image_surface_create_for_data(
          reinterpret_cast<unsigned char*>(data), CAIRO_FORMAT_ARGB32, picture.pixels->width,
          picture.pixels->height, picture.pixels->width * 4));
      rowWidth += shown(picture.pixels->width) + kGap;
      rowHeight = std::max(rowHeight, shown(picture.pixels->height));
      loaded.push_back(std::move(s));
    }
    width = std::max(width, rowWidth);
    height += rowHeight + kCaption + kGap;
    images.push_back(std::move(loaded));
  }
  Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(width, 400), height));
  {
    drawing::CairoContext context(cairo_create(sheet.get()));
    cairo_t* cr = context.get();
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
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, shrink, shrink);
        cairo_set_source_surface(cr, img, 0, 0);
        // At half size the bilinear filter averages each square of four pixels exactly.
        cairo_pattern_set_filter(cairo_get_source(cr),
                                 shrink == 0.5 ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_GOOD);
        cairo_paint(cr);
        cairo_restore(cr);
        int w = shown(cairo_image_surface_get_width(img)),
            h = shown(cairo_image_surface_get_height(img));
        rowHeight = std::max(rowHeight, h);
        const auto& p = rows[r][i];
        // The same colours as the index page's: red errors, amber warnings, blue notes.
        if (p.severity == Severity::error)
          drawText(cr, p.caption, x, y + h + 4, "Inter Bold 11", 0.55, 0.0, 0.0, w);
        else if (p.severity == Severity::warning)
          drawText(cr, p.caption, x, y + h + 4, "Inter Medium 11", 0.45, 0.25, 0.0, w);
        else if (p.severity == Severity::note)
          drawText(cr, p.caption, x, y + h + 4, "Inter 11", 0.0, 0.18, 0.45, w);
        else
          drawText(cr, p.caption, x, y + h + 4, "Inter 11", 0.1, 0.1, 0.12, w);
        x += w + kGap;
      }
      y += rowHeight + kCaption + kGap;
    }
  }
  cairo_surface_flush(sheet.get());
  auto png = drawing::encodePng(
      reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(sheet.get())),
      cairo_image_surface_get_width(sheet.get()), cairo_image_surface_get_height(sheet.get()),
      static_cast<std::size_t>(cairo_image_surface_get_stride(sheet.get())) / 4);
  if (!png)
    return Failure::runtime("cannot encode the contact sheet " + title + ": " +
                            png.failure().message);
  return std::move(*png);
}

}  // namespace host
