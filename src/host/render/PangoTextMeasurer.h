// PangoTextMeasurer: measures texts with Pango and the project's fonts: Inter, and Noto Sans CJK
// for the scripts Inter lacks; beyond those, whatever font the machine has for a character, and
// a character that no font has counts as a missing glyph. Metrics are unhinted and unrounded so a
// text measures the same at every scale. The renderer draws with layouts made here, so what is
// drawn is what was measured. One measurer is used by one thread at a time (measure() locks).
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/swiftui/TextMeasurer.h"

typedef struct _PangoFontMap PangoFontMap;
typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;
typedef struct _cairo cairo_t;

namespace render {

class PangoTextMeasurer final : public swiftui::TextMeasurer {
 public:
  // Font families in order of preference, as a Pango family list.
  static constexpr const char* defaultFamilies = "Inter, Noto Sans CJK JP";

  // `deviceScale` is the pixels per point of the pictures it will draw: fonts are loaded once for
  // that scale and shared between measuring and drawing (metrics do not depend on it).
  explicit PangoTextMeasurer(double deviceScale = 1, std::string families = defaultFamilies);
  ~PangoTextMeasurer() override;
  PangoTextMeasurer(const PangoTextMeasurer&) = delete;
  PangoTextMeasurer& operator=(const PangoTextMeasurer&) = delete;

  swiftui::TextMeasurement measure(const std::string& text, const swiftui::Font& font,
                                   std::optional<double> maxWidth,
                                   std::optional<int> lineLimit) const override;

  // A Pango context for drawing on `cr` with the measuring font settings, following the cairo
  // transformation in force. The caller unrefs it with g_object_unref.
  PangoContext* drawingContext(cairo_t* cr) const;
  // Sets text, font and wrapping width (none: one line per paragraph) on `layout`.
  void configure(PangoLayout* layout, const std::string& text, const swiftui::Font& font,
                 std::optional<double> width) const;

 private:
  std::string families_;
  PangoFontMap* fontMap_;
  PangoContext* context_;
  PangoLayout* layout_;
  mutable std::mutex mutex_;
};

}  // namespace render
