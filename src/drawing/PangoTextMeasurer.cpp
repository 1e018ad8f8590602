#include "drawing/PangoTextMeasurer.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-font.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "drawing/FontSet.h"
#include "platform/swiftui/EnvironmentValues.h"

namespace drawing {

namespace {

constexpr const char* kEllipsis = "…";
constexpr std::size_t kMostUnwrappedBytes = 256;

void applyFontSettings(PangoContext* context) {
  CairoFontOptions options(cairo_font_options_create());
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(context, options.get());
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
  PangoLayoutIterHandle it(pango_layout_get_iter(layout));
  do {
    PangoLayoutRun* run = pango_layout_iter_get_run_readonly(it.get());
    if (!run) continue;
    for (int i = 0; i < run->glyphs->num_glyphs; ++i)
      if (run->glyphs->glyphs[i].glyph & PANGO_GLYPH_UNKNOWN_FLAG) ++missing;
  } while (pango_layout_iter_next_run(it.get()));
  return missing;
}

struct Extent {
  swiftui::Size size;
  int lines = 0;
};

Extent extentOf(PangoLayout* layout) {
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  return {{pango_units_to_double(logical.width), pango_units_to_double(logical.height)},
          pango_layout_get_line_count(layout)};
}

// The start of a text that may be laid out: at most a few bytes over the bound, valid UTF-8
// (hostile bytes become U+FFFD), and whether the text goes on past it.
struct BoundedText {
  std::string text;
  bool goesOn = false;
};

BoundedText bounded(const std::string& text) {
  std::string_view start(text.data(),
                         std::min(text.size(), PangoTextMeasurer::maxLaidOutBytes + 4));
  BoundedText out{std::string(start), start.size() < text.size()};
  if (!g_utf8_validate(out.text.data(), static_cast<gssize>(out.text.size()), nullptr)) {
    GlibString valid(g_utf8_make_valid(out.text.data(), static_cast<gssize>(out.text.size())));
    out.text = valid.get();
  }
  return out;
}

// Byte offsets of the cursor positions (grapheme boundaries) of `text`, 0 and its end included.
std::vector<std::size_t> cursorPositions(std::string_view text) {
  const int chars = static_cast<int>(g_utf8_strlen(text.data(), static_cast<gssize>(text.size())));
  std::vector<PangoLogAttr> attrs(static_cast<std::size_t>(chars) + 1);
  pango_get_log_attrs(text.data(), static_cast<int>(text.size()), -1, nullptr, attrs.data(),
                      chars + 1);
  std::vector<std::size_t> cuts;
  const char* p = text.data();
  for (int i = 0; i <= chars; ++i) {
    if (attrs[i].is_cursor_position) cuts.push_back(static_cast<std::size_t>(p - text.data()));
    if (i < chars) p = g_utf8_next_char(p);
  }
  return cuts;
}

// Where a start of at most `limit` bytes of `text` ends: at a grapheme boundary, so the start
// never splits a character or a cluster that goes on past it.
std::size_t startEnd(const std::string& text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  std::vector<std::size_t> cuts = cursorPositions(std::string_view(text.data(), end));
  if (cuts.size() > 2) end = cuts[cuts.size() - 2];
  return end;
}

// Whether `text` has a right-to-left letter or mark, which makes it a right-to-left paragraph in
// right-to-left layout. A text without one (an amount such as "-$1,234.56", a time, a Latin name)
// keeps its left-to-right order there, as if isolated: given a right-to-left base direction the
// bidirectional algorithm would move the minus sign to the other end.
bool hasRightToLeftCharacter(std::string_view text) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    gunichar c = g_utf8_get_char_validated(p, end - p);
    if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) return false;
    if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
        (c >= 0xFE70 && c <= 0xFEFF) || (c >= 0x10800 && c <= 0x10FFF) ||
        (c >= 0x1E800 && c <= 0x1EFFF) || c == 0x200F || c == 0x202B || c == 0x202E || c == 0x2067)
      return true;
    p = g_utf8_next_char(p);
  }
  return false;
}

std::string lowercase(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// Lays candidate texts out with one font, width and language, and judges whether they fit.
class Fitter {
 public:
  struct Attempt {
    std::string drawn;
    Extent extent;
    int missingGlyphs = 0;
  };

  Fitter(const PangoTextMeasurer& measurer, PangoLayout* layout, const swiftui::Font& font,
         std::optional<double> maxWidth, std::optional<int> lineLimit,
         const std::optional<std::string>& language)
      : measurer_(measurer),
        layout_(layout),
        font_(font),
        maxWidth_(maxWidth),
        lineLimit_(lineLimit),
        language_(language) {}

  Attempt attempt(std::string text) {
    wrap(text);
    Extent extent = extentOf(layout_);
    return {std::move(text), extent, missingGlyphs(layout_)};
  }

  // Within the line limit (or the most lines any widget shows), and within the width when lines
  // are limited. A lone glyph wider than the line still overflows it; allow for rounding to Pango
  // units.
  bool fits(const Extent& e) const {
    return e.lines <= lineLimit_.value_or(PangoTextMeasurer::maxLines) &&
           (!maxWidth_ || !lineLimit_ || e.size.width <= *maxWidth_ + 0.01);
  }

  // The longest start of `start` (ending at a cursor position, without trailing spaces) that
  // fits with "…" after it; "…" alone when none does. With `startOverflows`, `start` is known
  // not to fit even without the ellipsis.
  Attempt cut(const std::string& start, bool startOverflows) {
    std::vector<std::size_t> cuts = cursorPositions(start);
    auto candidate = [&](std::size_t index) {
      std::string s = start.substr(0, cuts[index]);
      while (!s.empty() && (s.back() == ' ' || s.back() == '\n')) s.pop_back();
      return attempt(s + kEllipsis);
    };
    std::optional<Bounds> bounds;
    if (maxWidth_) bounds = wrappedBounds(start, cuts);
    if (!startOverflows && (!bounds || bounds->startFits)) {
      Attempt all = candidate(cuts.size() - 1);
      if (fits(all.extent)) return all;
    }
    // cuts[low] is accepted as the fallback; cuts[high] does not fit.
    std::size_t low = 0, high = cuts.size() - 1;
    Attempt best = candidate(0);
    auto tryIndex = [&](std::size_t index) {
      Attempt a = candidate(index);
      bool ok = fits(a.extent);
      if (ok) {
        low = index;
        best = std::move(a);
      } else {
        high = index;
      }
      return ok;
    };
    if (bounds) {
      // A guess from the last line's positions, checked by its neighbours: the ellipsis costs a
      // character or two, a word moved to the next line a few more.
      high = std::min(high, bounds->ceiling);
      std::size_t guess = lastLineGuess(start, cuts, *bounds);
      if (guess > low && guess < high) {
        if (tryIndex(guess)) {
          if (guess + 1 < high) tryIndex(guess + 1);
        } else {
          for (std::size_t step = 1; step <= 3 && guess - step > low; ++step)
            if (tryIndex(guess - step)) break;
        }
      }
      if (high - low > 1 && bounds->floor > low && bounds->floor < high) tryIndex(bounds->floor);
    }
    while (high - low > 1) tryIndex((low + high) / 2);
    return best;
  }

 private:
  // Where the cut can lie, learnt from `start` wrapped at the width: after the lines before the
  // last one that may be shown (the ellipsis then starts the last line, so that cut fits), and
  // before the end of the line after the last (the text up to there needs a line too many).
  struct Bounds {
    std::size_t floor, ceiling;  // indexes into the cursor positions
    std::size_t lastLineStart;   // byte offset where the last line that may be shown starts
    bool startFits;              // `start` needs no more lines than may be shown
  };

  Bounds wrappedBounds(const std::string& start, const std::vector<std::size_t>& cuts) {
    wrap(start);
    const int lines = pango_layout_get_line_count(layout_);
    // A limit past the lines there are (or below one) changes nothing here.
    const int last = std::clamp(lineLimit_.value_or(PangoTextMeasurer::maxLines), 1, lines) - 1;
    auto cutAtEndOf = [&](int lineIndex) -> std::size_t {
      if (lineIndex < 0) return 0;
      if (lineIndex >= lines) return cuts.size() - 1;
      PangoLayoutLine* line = pango_layout_get_line_readonly(layout_, lineIndex);
      auto end = static_cast<std::size_t>(line->start_index + line->length);
      return static_cast<std::size_t>(std::upper_bound(cuts.begin(), cuts.end(), end) -
                                      cuts.begin()) -
             1;
    };
    PangoLayoutLine* lastLine = pango_layout_get_line_readonly(layout_, last);
    return {cutAtEndOf(last - 1), cutAtEndOf(last + 1),
            static_cast<std::size_t>(lastLine->start_index), lines <= last + 1};
  }

  // The last line laid out unwrapped gives every cursor position's x on it: the guess is the
  // last position that leaves room for the ellipsis.
  std::size_t lastLineGuess(const std::string& start, const std::vector<std::size_t>& cuts,
                            const Bounds& bounds) {
    wrapped_.reset();
    measurer_.configure(layout_, kEllipsis, font_, std::nullopt, language_);
    PangoRectangle ellipsis;
    pango_layout_get_extents(layout_, nullptr, &ellipsis);
    const int room = pango_units_from_double(*maxWidth_) - ellipsis.width;
    const std::size_t from = bounds.lastLineStart, to = cuts[bounds.ceiling];
    measurer_.configure(layout_, std::string_view(start).substr(from, to - from), font_,
                        std::nullopt, language_);
    PangoLayoutLine* line = pango_layout_get_line_readonly(layout_, 0);
    std::size_t guess = 0;
    for (std::size_t i = 1; i <= bounds.ceiling; ++i) {
      if (cuts[i] < from) continue;
      int x = 0;
      pango_layout_line_index_to_x(line, static_cast<int>(cuts[i] - from), 0, &x);
      if (x > room) break;
      guess = i;
    }
    return guess;
  }

  // Lays `text` out wrapped at the width, unless the layout holds just that already.
  void wrap(const std::string& text) {
    if (wrapped_ == text) return;
    measurer_.configure(layout_, text, font_, maxWidth_, language_);
    wrapped_ = text;
  }

  const PangoTextMeasurer& measurer_;
  PangoLayout* layout_;
  const swiftui::Font& font_;
  std::optional<double> maxWidth_;
  std::optional<int> lineLimit_;
  const std::optional<std::string>& language_;
  std::optional<std::string> wrapped_;  // what the layout holds wrapped, if anything
};

std::optional<FontFace> faceOf(PangoFont* font) {
  if (!font || !PANGO_IS_FC_FONT(font)) return std::nullopt;
  FcPattern* pattern = pango_fc_font_get_pattern(PANGO_FC_FONT(font));
  FcChar8* file = nullptr;
  FcChar8* family = nullptr;
  FcChar8* style = nullptr;
  int version = 0;
  if (!pattern || FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch)
    return std::nullopt;
  FontFace face{reinterpret_cast<const char*>(file), "", ""};
  if (FcPatternGetString(pattern, FC_FAMILY, 0, &family) == FcResultMatch)
    face.face = reinterpret_cast<const char*>(family);
  if (FcPatternGetString(pattern, FC_STYLE, 0, &style) == FcResultMatch)
    face.face += " " + std::string(reinterpret_cast<const char*>(style));
  if (FcPatternGetInteger(pattern, FC_FONTVERSION, 0, &version) == FcResultMatch) {
    char text[32];  // the font's own version, a 16.16 fixed-point number
    std::snprintf(text, sizeof text, "%.3f", version / 65536.0);
    face.version = text;
  }
  return face;
}

swiftui::TextMeasurement cutResult(Fitter::Attempt a) {
  return {a.extent.size, a.extent.lines, std::move(a.drawn), true, a.missingGlyphs};
}

}  // namespace

std::string fontFamiliesFor(const std::optional<std::string>& language) {
  const char* face = "JP";
  if (language) {
    std::string tag = lowercase(*language);
    std::replace(tag.begin(), tag.end(), '_', '-');
    std::string primary = tag.substr(0, tag.find('-'));
    auto has = [&](const char* subtag) {
      return (tag + "-").find(std::string("-") + subtag + "-") != std::string::npos;
    };
    if (primary == "ko")
      face = "KR";
    else if (primary == "zh" && has("hk"))
      face = "HK";
    else if (primary == "zh" && (has("hant") || has("tw") || has("mo")))
      face = "TC";
    else if (primary == "zh")
      face = "SC";
  }
  return std::string("Inter, Noto Sans Arabic UI, Noto Sans Hebrew, Noto Sans CJK ") + face;
}

namespace {

// A font map over the program's own fonts of that reach (the machine's, when one of them is
// missing: the host refuses to draw then, and says which).
PangoFontMap* newFontMap(FontReach reach) {
  // Pinned before the map exists: a new map sets fontconfig up on a thread of its own (every
  // reach pins the named families' configuration first).
  auto fonts = pinnedFonts(reach);
  PangoFontMap* map = pango_cairo_font_map_new();
  if (fonts) pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(map), *fonts);
  return map;
}

}  // namespace

PangoTextMeasurer::PangoTextMeasurer(double deviceScale) : deviceScale_(deviceScale) {
  std::lock_guard lock(mutex_);
  fonts(FontReach::namedFamilies);
}

const PangoTextMeasurer::Fonts& PangoTextMeasurer::fonts(FontReach reach) const {
  std::optional<Fonts>& made = reach == FontReach::namedFamilies ? named_ : every_;
  if (made) return *made;
  Fonts f;
  f.map.reset(newFontMap(reach));
  f.context.reset(pango_font_map_create_context(f.map.get()));
  applyFontSettings(f.context.get());
  // Measure as if drawing on an image at the device scale: the same font options and matrix as
  // the renderer's, so the fonts loaded for measuring are the ones drawing uses.
  CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
  CairoContext cr(cairo_create(surface.get()));
  cairo_scale(cr.get(), deviceScale_, deviceScale_);
  pango_cairo_update_context(cr.get(), f.context.get());
  f.layout.reset(pango_layout_new(f.context.get()));
  return made.emplace(std::move(f));
}

std::vector<FontFace> PangoTextMeasurer::facesUsed(
    std::string_view text, const swiftui::Font& font,
    const std::optional<std::string>& language) const {
  std::lock_guard lock(mutex_);
  PangoLayout* layout = fonts(reachOf(text)).layout.get();
  configure(layout, text, font, std::nullopt, language);
  std::vector<FontFace> out;
  PangoLayoutIterHandle runs(pango_layout_get_iter(layout));
  do {
    PangoLayoutRun* run = pango_layout_iter_get_run_readonly(runs.get());
    if (!run) continue;
    if (auto face = faceOf(run->item->analysis.font)) out.push_back(std::move(*face));
  } while (pango_layout_iter_next_run(runs.get()));
  return out;
}

PangoContextHandle PangoTextMeasurer::drawingContext(cairo_t* cr, FontReach reach) const {
  PangoFontMap* map = nullptr;
  {
    std::lock_guard lock(mutex_);
    map = fonts(reach).map.get();
  }
  PangoContextHandle context(pango_font_map_create_context(map));
  applyFontSettings(context.get());
  pango_cairo_update_context(cr, context.get());
  return context;
}

void PangoTextMeasurer::configure(PangoLayout* layout, std::string_view text,
                                  const swiftui::Font& font, std::optional<double> width,
                                  const std::optional<std::string>& language) const {
  PangoFontDescriptionHandle description(
      pango_font_description_from_string(fontFamiliesFor(language).c_str()));
  pango_font_description_set_weight(description.get(), pangoWeight(font.weight));
  pango_font_description_set_absolute_size(description.get(), font.size * PANGO_SCALE);
  pango_layout_set_font_description(layout, description.get());
  PangoAttrListHandle attributes(pango_attr_list_new());
  if (language)
    pango_attr_list_insert(attributes.get(),
                           pango_attr_language_new(pango_language_from_string(language->c_str())));
  pango_layout_set_attributes(layout, attributes.get());
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_width(layout, width ? pango_units_from_double(*width) : -1);
  // The paragraph direction is set, not guessed from the text, so that measuring and drawing
  // agree; the alignment is set by whoever draws, in absolute terms.
  PangoDirection direction = PANGO_DIRECTION_LTR;
  if (hasRightToLeftCharacter(text) &&
      swiftui::layoutDirectionFor(language) == swiftui::LayoutDirection::rightToLeft)
    direction = PANGO_DIRECTION_RTL;
  PangoContext* context = pango_layout_get_context(layout);
  pango_layout_set_auto_dir(layout, FALSE);
  if (pango_context_get_base_dir(context) != direction) {
    pango_context_set_base_dir(context, direction);
    pango_layout_context_changed(layout);
  }
  pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
}

swiftui::TextMeasurement PangoTextMeasurer::measure(
    const std::string& text, const swiftui::Font& font, std::optional<double> maxWidth,
    std::optional<int> lineLimit, const std::optional<std::string>& language) const {
  std::lock_guard lock(mutex_);
  BoundedText source = bounded(text);
  // A cut text ends in an ellipsis, which the fonts must have too.
  const FontReach reach = reachOf(source.text) == FontReach::namedFamilies
                              ? reachOf(kEllipsis)
                              : FontReach::everyDeclaredFont;
  Fitter fitter(*this, fonts(reach).layout.get(), font, maxWidth, lineLimit, language);
  // Grow a start until it overflows: a start that overflows proves the whole text does. Without
  // a width only line breaks in the text make lines, so the start is as long as may be laid out,
  // and a few hundred bytes on one line are already wider than any widget.
  const int lines = std::max(1, lineLimit.value_or(maxLines));
  const std::size_t most = maxWidth ? maxLaidOutBytes : kMostUnwrappedBytes;
  std::size_t limit = most;
  if (maxWidth) {
    // Enough for a line more than may be shown, were every character a wide one.
    double perLine = std::max(0.0, *maxWidth) / (0.6 * std::max(font.size, 1.0)) + 1;
    limit = static_cast<std::size_t>(std::min(perLine * (lines + 1.0), double(most)));
  }
  while (true) {
    std::string start = source.text.substr(0, startEnd(source.text, limit));
    if (source.goesOn || start.size() < source.text.size()) {
      if (limit < most) {
        Fitter::Attempt a = fitter.attempt(start);
        if (fitter.fits(a.extent)) {
          // Wrapping costs more than the text's length, so aim just past the line bound.
          std::size_t aim = start.size() * (static_cast<std::size_t>(lines) + 1) /
                                static_cast<std::size_t>(std::max(1, a.extent.lines)) +
                            16;
          limit = std::min(std::max(limit + 16, aim), most);
          continue;
        }
        return cutResult(fitter.cut(start, true));
      }
      // Too long to lay out whole: cut at the end of the start at the latest.
      return cutResult(fitter.cut(start, false));
    }
    Fitter::Attempt a = fitter.attempt(start);
    if (fitter.fits(a.extent))
      return {a.extent.size, a.extent.lines, std::move(a.drawn), false, a.missingGlyphs};
    return cutResult(fitter.cut(start, true));
  }
}

}  // namespace drawing
