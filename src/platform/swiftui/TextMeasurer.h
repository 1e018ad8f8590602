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
  int missingGlyphs = 0;  // characters of what is drawn that no available font can draw
  bool operator==(const TextMeasurement&) const = default;
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;

  // Lays `text` out in `font`: wrapped at word boundaries (inside words when a word alone is too
  // wide) within `maxWidth` when given, else one line per paragraph. With `lineLimit`, at most
  // that many lines: a text needing more is cut at the end with "…" so that the rest fits.
  // `language` (a BCP 47 tag such as "zh-Hans") picks the glyph forms where scripts share
  // characters; not given: the measurer's default. A measurer may cut a text longer than any
  // widget can show, also one without a line limit; it says so with `truncated`.
  virtual TextMeasurement measure(const std::string& text, const Font& font,
                                  std::optional<double> maxWidth, std::optional<int> lineLimit,
                                  const std::optional<std::string>& language) const = 0;

  // The same in no particular language.
  TextMeasurement measure(const std::string& text, const Font& font, std::optional<double> maxWidth,
                          std::optional<int> lineLimit) const {
    return measure(text, font, maxWidth, lineLimit, std::nullopt);
  }
};

}  // namespace swiftui
