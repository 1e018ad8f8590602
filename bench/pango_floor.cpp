// The floor for the renderer's cold run: the same ten texts of the medium widget drawn at 3x
// with bare Pango and Cairo at fixed places, no layout engine, written to the PNG named on the
// command line, on a white widget with rounded corners and transparent outside them, as the
// renderer's pictures are. What a renderer cannot avoid: loading the fonts, shaping, rasterising
// and encoding.
//   /usr/bin/time -v build/bench/pango_floor out.png
#include <pango/pangocairo.h>

#include <cmath>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: pango_floor OUT.png\n");
    return 2;
  }
  struct Item {
    const char* text;
    double size;
    PangoWeight weight;
    double x, y;
  };
  const Item items[] = {
      {"All wallets", 14, PANGO_WEIGHT_BOLD, 16, 8},
      {"This month", 11, PANGO_WEIGHT_NORMAL, 16, 26},
      {"Income", 12, PANGO_WEIGHT_NORMAL, 16, 49},
      {"$4,200", 14, PANGO_WEIGHT_BOLD, 270, 48},
      {"Expense", 12, PANGO_WEIGHT_NORMAL, 16, 70},
      {"$1,850", 14, PANGO_WEIGHT_BOLD, 272, 69},
      {"Balance", 13, PANGO_WEIGHT_NORMAL, 16, 105},
      {"$2,350", 16, PANGO_WEIGHT_BOLD, 262, 104},
      {"Updated", 9, PANGO_WEIGHT_NORMAL, 286, 128},
      {"09:41", 9, PANGO_WEIGHT_NORMAL, 296, 139},
  };
  const double scale = 3;
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 338 * scale, 158 * scale);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, scale, scale);
  const double r = 22, w = 338, h = 158;
  cairo_new_sub_path(cr);
  cairo_arc(cr, w - r, r, r, -M_PI / 2, 0);
  cairo_arc(cr, w - r, h - r, r, 0, M_PI / 2);
  cairo_arc(cr, r, h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, r, r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  PangoFontMap* fontMap = pango_cairo_font_map_new();
  PangoContext* context = pango_font_map_create_context(fontMap);
  pango_cairo_context_set_resolution(context, 72);
  pango_cairo_update_context(cr, context);
  for (const Item& item : items) {
    PangoLayout* layout = pango_layout_new(context);
    PangoFontDescription* font = pango_font_description_from_string("Inter, Noto Sans CJK JP");
    pango_font_description_set_weight(font, item.weight);
    pango_font_description_set_absolute_size(font, item.size * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    pango_layout_set_text(layout, item.text, -1);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_move_to(cr, item.x, item.y);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
  }
  cairo_destroy(cr);
  int status = cairo_surface_write_to_png(surface, argv[1]) == CAIRO_STATUS_SUCCESS ? 0 : 1;
  cairo_surface_destroy(surface);
  g_object_unref(context);
  g_object_unref(fontMap);
  return status;
}
