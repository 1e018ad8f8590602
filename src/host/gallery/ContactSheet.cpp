#include "host/gallery/ContactSheet.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace host {
namespace {

constexpr int kGap = 24, kCaption = 28, kTitle = 44;

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct GObjectDeleter {
  void operator()(void* o) const { g_object_unref(o); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

struct PngReader {
  const std::string& bytes;
  std::size_t at = 0;
  static cairo_status_t read(void* self, unsigned char* data, unsigned int length) {
    auto* r = static_cast<PngReader*>(self);
    if (r->bytes.size() - r->at < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, r->bytes.data() + r->at, length);
    r->at += length;
    return CAIRO_STATUS_SUCCESS;
  }
};

cairo_status_t appendBytes(void* out, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// Draws one line of text, cut with "…" at maxWidth pixels when given.
void drawText(cairo_t* cr, const std::string& text, double x, double y, const char* font, double r,
              double g, double b, int maxWidth = -1) {
  std::unique_ptr<PangoLayout, GObjectDeleter> layout(pango_cairo_create_layout(cr));
  std::unique_ptr<PangoFontDescription, decltype(&pango_font_description_free)> desc(
      pango_font_description_from_string(font), pango_font_description_free);
  pango_layout_set_font_description(layout.get(), desc.get());
  pango_layout_set_text(layout.get(), text.c_str(), -1);
  if (maxWidth > 0) {
    pango_layout_set_width(layout.get(), maxWidth * PANGO_SCALE);
    pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
  }
  cairo_set_source_rgb(cr, r, g, b);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout.get());
}

}  // namespace

Result<std::string> contactSheet(const std::string& title,
                                 const std::vector<std::vector<SheetPicture>>& rows) {
  std::vector<std::vector<Surface>> images;
  int width = 0, height = kTitle;
  for (const auto& row : rows) {
    std::vector<Surface> loaded;
    int rowWidth = kGap, rowHeight = 0;
    for (const auto& picture : row) {
      PngReader reader{picture.png};
      Surface s(cairo_image_surface_create_from_png_stream(&PngReader::read, &reader));
      if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS)
        return Failure::runtime("cannot decode the picture captioned " + picture.caption);
      rowWidth += cairo_image_surface_get_width(s.get()) + kGap;
      rowHeight = std::max(rowHeight, cairo_image_surface_get_height(s.get()));
      loaded.push_back(std::move(s));
    }
    width = std::max(width, rowWidth);
    height += rowHeight + kCaption + kGap;
    images.push_back(std::move(loaded));
  }
  Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(width, 400), height));
  {
    std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(sheet.get()));
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
        cairo_set_source_surface(cr, img, x, y);
        cairo_paint(cr);
        int w = cairo_image_surface_get_width(img), h = cairo_image_surface_get_height(img);
        rowHeight = std::max(rowHeight, h);
        const auto& p = rows[r][i];
        if (p.flagged)
          drawText(cr, p.caption, x, y + h + 4, "Inter Medium 11", 0.6, 0.0, 0.0, w);
        else
          drawText(cr, p.caption, x, y + h + 4, "Inter 11", 0.1, 0.1, 0.12, w);
        x += w + kGap;
      }
      y += rowHeight + kCaption + kGap;
    }
  }
  std::string png;
  if (cairo_surface_write_to_png_stream(sheet.get(), appendBytes, &png) != CAIRO_STATUS_SUCCESS)
    return Failure::runtime("cannot encode the contact sheet " + title);
  return png;
}

}  // namespace host
