#include "host/render/PangoTextMeasurer.h"

#include <pango/pangocairo.h>

#include <vector>

namespace render {

namespace {

constexpr const char* kEllipsis = "…";

void applyFontSettings(PangoContext* context) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  // One point per Pango unit of size, and glyphs placed where the font says.
  pango_cairo_context_set_resolution(context, 72);
  pango_context_set_round_glyph_positions(context, FALSE);
}

PangoWeight pangoWeight(swiftui::Font::Weight weight) {
  switch (weight) {
    case swiftui::Font::Weight::medium:
      return PANGO_WEIGHT_MEDIUM;
    case swiftui::Font::Weight::bold:
      return PANGO_WEIGHT_BOLD;
    case swiftui::Font::Weight::regular:
      break;
  }
  return PANGO_WEIGHT_NORMAL;
}

int missingGlyphs(PangoLayout* layout) {
  int missing = 0;
  PangoLayoutIter* it = pango_layout_get_iter(layout);
  do {
    PangoLayoutRun* run = pango_layout_iter_get_run_readonly(it);
    if (!run) continue;
    for (int i = 0; i < run->glyphs->num_glyphs; ++i)
      if (run->glyphs->glyphs[i].glyph & PANGO_GLYPH_UNKNOWN_FLAG) ++missing;
  } while (pango_layout_iter_next_run(it));
  pango_layout_iter_free(it);
  return missing;
}

struct Extent {
  swiftui::Size size;
  int lines;
};

Extent extentOf(PangoLayout* layout) {
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  return {{pango_units_to_double(logical.width), pango_units_to_double(logical.height)},
          pango_layout_get_line_count(layout)};
}

}  // namespace

PangoTextMeasurer::PangoTextMeasurer(double deviceScale, std::string families)
    : families_(std::move(families)),
      fontMap_(pango_cairo_font_map_new()),
      context_(pango_font_map_create_context(fontMap_)) {
  applyFontSettings(context_);
  // Measure as if drawing on an image at the device scale: the same font options and matrix as
  // the renderer's, so the fonts loaded for measuring are the ones drawing uses.
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, deviceScale, deviceScale);
  pango_cairo_update_context(cr, context_);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  layout_ = pango_layout_new(context_);
}

PangoTextMeasurer::~PangoTextMeasurer() {
  g_object_unref(layout_);
  g_object_unref(context_);
  g_object_unref(fontMap_);
}

PangoContext* PangoTextMeasurer::drawingContext(cairo_t* cr) const {
  PangoContext* context = pango_font_map_create_context(fontMap_);
  applyFontSettings(context);
  pango_cairo_update_context(cr, context);
  return context;
}

void PangoTextMeasurer::configure(PangoLayout* layout, const std::string& text,
                                  const swiftui::Font& font, std::optional<double> width) const {
  PangoFontDescription* description = pango_font_description_from_string(families_.c_str());
  pango_font_description_set_weight(description, pangoWeight(font.weight));
  pango_font_description_set_absolute_size(description, font.size * PANGO_SCALE);
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_width(layout, width ? pango_units_from_double(*width) : -1);
  pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
}

swiftui::TextMeasurement PangoTextMeasurer::measure(const std::string& text,
                                                    const swiftui::Font& font,
                                                    std::optional<double> maxWidth,
                                                    std::optional<int> lineLimit) const {
  std::lock_guard lock(mutex_);
  configure(layout_, text, font, maxWidth);
  swiftui::TextMeasurement m;
  m.missingGlyphs = missingGlyphs(layout_);
  Extent full = extentOf(layout_);
  // A lone glyph wider than the line still overflows it; allow for rounding to Pango units.
  auto fits = [&](const Extent& e) {
    return (!lineLimit || e.lines <= *lineLimit) &&
           (!maxWidth || !lineLimit || e.size.width <= *maxWidth + 0.01);
  };
  if (fits(full)) {
    m.size = full.size;
    m.lines = full.lines;
    m.drawn = text;
    return m;
  }

  // Cut at the end: the longest start (ending at a character boundary, without trailing spaces)
  // that fits with "…" after it.
  int attrCount = 0;
  const PangoLogAttr* attrs = pango_layout_get_log_attrs_readonly(layout_, &attrCount);
  std::vector<std::size_t> cuts;  // byte offsets of cursor positions, ascending
  const char* start = text.c_str();
  const char* p = start;
  for (int i = 0; i < attrCount; ++i) {
    if (attrs[i].is_cursor_position) cuts.push_back(static_cast<std::size_t>(p - start));
    if (*p == '\0') break;
    p = g_utf8_next_char(p);
  }
  auto candidate = [&](std::size_t cut) {
    std::string s = text.substr(0, cut);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\n')) s.pop_back();
    return s + kEllipsis;
  };
  auto tryCut = [&](std::size_t cut) {
    std::string s = candidate(cut);
    configure(layout_, s, font, maxWidth);
    return std::pair{s, extentOf(layout_)};
  };
  std::size_t low = 0, high = cuts.empty() ? 0 : cuts.size() - 1;  // cuts[high] is the whole text
  auto best = tryCut(0);
  while (high - low > 1) {
    std::size_t mid = (low + high) / 2;
    auto attempt = tryCut(cuts[mid]);
    if (fits(attempt.second)) {
      low = mid;
      best = std::move(attempt);
    } else {
      high = mid;
    }
  }
  m.size = best.second.size;
  m.lines = best.second.lines;
  m.drawn = std::move(best.first);
  m.truncated = true;
  return m;
}

}  // namespace render
