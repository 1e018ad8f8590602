// TextMeasurer: the one place where texts meet fonts. The layout engine never measures text
// itself; the renderer supplies a measurer backed by real fonts and tests use FakeTextMeasurer.
#pragma once

#include <optional>
#include <string>

#include "platform/swiftui/Font.h"
#include "platform/swiftui/Geometry.h"

namespace swiftui {

struct TextMeasurement {
  Size size;  // points, as laid out (not rounded)
  int lines = 0;
  std::string drawn;  // what is drawn: the text, or its start followed by "…" when cut
  bool truncated = false;
  int missingGlyphs = 0;  // characters of the text that no available font can draw
  bool operator==(const TextMeasurement&) const = default;
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;

  // Lays `text` out in `font`: wrapped at word boundaries (inside words when a word alone is too
  // wide) within `maxWidth` when given, else one line per paragraph. With `lineLimit`, at most
  // that many lines: a text needing more is cut at the end with "…" so that the rest fits.
  virtual TextMeasurement measure(const std::string& text, const Font& font,
                                  std::optional<double> maxWidth,
                                  std::optional<int> lineLimit) const = 0;
};

}  // namespace swiftui
