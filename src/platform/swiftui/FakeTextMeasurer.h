// FakeTextMeasurer: a TextMeasurer with fixed advances, so layout tests are exact and do not
// depend on the fonts of the machine. Every character advances half the font size (wide East
// Asian characters the full size, "…" half), a line is 1.2 times the font size high, whatever the
// weight. Characters of the private use area (U+E000 to U+F8FF) count as missing glyphs.
// Stateless; safe to share across threads.
#pragma once

#include "platform/swiftui/TextMeasurer.h"

namespace swiftui {

class FakeTextMeasurer final : public TextMeasurer {
 public:
  using TextMeasurer::measure;
  // The language changes nothing here.
  TextMeasurement measure(const std::string& text, const Font& font, std::optional<double> maxWidth,
                          std::optional<int> lineLimit,
                          const std::optional<std::string>& language) const override;

  // The advance of one code point as a fraction of the font size.
  static double advance(char32_t c);
  static constexpr double lineHeight = 1.2;
};

}  // namespace swiftui
