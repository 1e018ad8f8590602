// PangoTextMeasurer: measures texts with Pango and the program's own fonts (FontSet.h): Inter, and
// for the scripts Inter lacks Noto Sans Arabic UI, Noto Sans Hebrew and Noto Sans CJK, CJK in the
// regional face the text's language asks for (Simplified or Traditional Chinese, Japanese,
// Korean); beyond those, the declared Noto face of a character's script, and a character that no
// declared font has counts as a missing glyph. Metrics are unhinted and unrounded so a text
// measures the same at every scale. The renderer draws with layouts made here, so what is drawn
// is what was measured.
//
// Measuring costs about the same whatever a text's length: Pango never sees more than a bounded
// start of it, a text that needs more bytes or lines than any widget shows is cut (also one
// without a line limit), and a cut is found with a few measurements of that start. One measurer
// is used by one thread at a time (measure() locks).
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/FontSet.h"
#include "drawing/GraphicsHandles.h"
#include "platform/swiftui/TextMeasurer.h"

namespace drawing {

// A font file a text is drawn with: its path, the face taken from it ("Inter Bold") and the
// font's own version ("4.000"; empty when it names none).
struct FontFace {
  std::string path, face, version;
  bool operator==(const FontFace&) const = default;
};

class PangoTextMeasurer final : public swiftui::TextMeasurer {
 public:
  // The most bytes of a text that are ever laid out (a quarter of that without a width to wrap
  // at), and the most lines of a text without a line limit: more than any widget shows.
  static constexpr std::size_t maxLaidOutBytes = 1024;
  static constexpr int maxLines = 12;

  // `deviceScale` is the pixels per point of the pictures it will draw: fonts are loaded once for
  // that scale and shared between measuring and drawing (metrics do not depend on it).
  explicit PangoTextMeasurer(double deviceScale = 1);
  PangoTextMeasurer(const PangoTextMeasurer&) = delete;
  PangoTextMeasurer& operator=(const PangoTextMeasurer&) = delete;

  using swiftui::TextMeasurer::measure;
  swiftui::TextMeasurement measure(const std::string& text, const swiftui::Font& font,
                                   std::optional<double> maxWidth, std::optional<int> lineLimit,
                                   const std::optional<std::string>& language) const override;

  // The font file of each run of `text` laid out on one line as drawn (a file may come twice).
  std::vector<FontFace> facesUsed(std::string_view text, const swiftui::Font& font,
                                  const std::optional<std::string>& language) const;

  // A Pango context for drawing on `cr` with the measuring font settings and the fonts of
  // `reach` (reachOf the text drawn), following the cairo transformation in force.
  PangoContextHandle drawingContext(cairo_t* cr, FontReach reach) const;
  // Sets text, font, language and wrapping width (none: one line per paragraph) on `layout`, and
  // its paragraph direction: right to left for a text with right-to-left letters in a
  // right-to-left language, left to right otherwise. Lines are left-aligned until the caller
  // aligns them. `text` must be valid UTF-8 (what measure() returns as drawn is).
  void configure(PangoLayout* layout, std::string_view text, const swiftui::Font& font,
                 std::optional<double> width,
                 const std::optional<std::string>& language = std::nullopt) const;

 private:
  // The fonts of one reach: their map, and a context and layout for measuring with them.
  struct Fonts {
    PangoFontMapHandle map;
    PangoContextHandle context;
    PangoLayoutHandle layout;
  };
  // Made on first use (every declared font is needed rarely); with mutex_ held.
  const Fonts& fonts(FontReach reach) const;

  double deviceScale_;
  mutable std::optional<Fonts> named_, every_;
  mutable std::mutex mutex_;
};

// The font families for a text in `language` (BCP 47), as a Pango family list: Inter, Noto Sans
// Arabic UI and Noto Sans Hebrew, then the Noto Sans CJK face of the language's region; Japanese
// when no language is given.
std::string fontFamiliesFor(const std::optional<std::string>& language);

}  // namespace drawing
