#include "platform/swiftui/FakeTextMeasurer.h"

#include <algorithm>
#include <vector>

namespace swiftui {

namespace {

struct CodePoint {
  char32_t value;
  std::size_t offset;  // byte offset in the text
};

std::vector<CodePoint> decode(const std::string& text) {
  std::vector<CodePoint> out;
  for (std::size_t i = 0; i < text.size();) {
    auto b = static_cast<unsigned char>(text[i]);
    int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? b : b & (0x3F >> (length - 1));
    for (int k = 1; k < length && i + k < text.size(); ++k)
      c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    out.push_back({c, i});
    i += length;
  }
  return out;
}

struct Wrapped {
  std::vector<double> lineWidths;
};

// Greedy word wrap in units of the font size.
Wrapped wrap(const std::vector<CodePoint>& cps, std::size_t count, std::optional<double> width) {
  Wrapped result;
  double line = 0;     // width of the current line, trailing spaces excluded
  double pending = 0;  // width of spaces after the last word
  double word = 0;     // width of the word being read
  bool lineHasWord = false;
  auto finishWord = [&] {
    if (word == 0) return;
    if (width && lineHasWord && line + pending + word > *width) {
      result.lineWidths.push_back(line);
      line = 0;
      lineHasWord = false;
      pending = 0;
    }
    line += pending + word;
    pending = 0;
    word = 0;
    lineHasWord = true;
  };
  for (std::size_t i = 0; i < count; ++i) {
    char32_t c = cps[i].value;
    if (c == '\n') {
      finishWord();
      result.lineWidths.push_back(line);
      line = pending = 0;
      lineHasWord = false;
      continue;
    }
    double a = FakeTextMeasurer::advance(c);
    if (c == ' ') {
      finishWord();
      pending += a;
      continue;
    }
    // A word wider than the line breaks inside itself.
    if (width && line + pending + word + a > *width && word > 0 && !lineHasWord &&
        word + a > *width) {
      result.lineWidths.push_back(word);
      word = 0;
    }
    word += a;
    // Wide characters break anywhere.
    if (a >= 1) finishWord();
  }
  finishWord();
  result.lineWidths.push_back(line);
  return result;
}

}  // namespace

double FakeTextMeasurer::advance(char32_t c) {
  bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
              (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
              (c >= 0xFF00 && c <= 0xFF60);
  return wide ? 1.0 : 0.5;
}

TextMeasurement FakeTextMeasurer::measure(const std::string& text, const Font& font,
                                          std::optional<double> maxWidth,
                                          std::optional<int> lineLimit,
                                          const std::optional<std::string>&) const {
  std::vector<CodePoint> cps = decode(text);
  std::optional<double> width;
  if (maxWidth) width = *maxWidth / font.size;

  auto sizeOf = [&](const Wrapped& w) {
    double widest = *std::max_element(w.lineWidths.begin(), w.lineWidths.end());
    return Size{widest * font.size,
                static_cast<double>(w.lineWidths.size()) * lineHeight * font.size};
  };

  TextMeasurement m;
  m.missingGlyphs = static_cast<int>(std::count_if(cps.begin(), cps.end(), [](const CodePoint& c) {
    return c.value >= 0xE000 && c.value <= 0xF8FF;
  }));
  Wrapped full = wrap(cps, cps.size(), width);
  auto fits = [&](const Wrapped& w) {
    if (lineLimit && static_cast<int>(w.lineWidths.size()) > *lineLimit) return false;
    // A word too wide for one allowed line does not fit either.
    return !width || *std::max_element(w.lineWidths.begin(), w.lineWidths.end()) <= *width + 1e-9;
  };
  if (!lineLimit || fits(full)) {
    m.size = sizeOf(full);
    m.lines = static_cast<int>(full.lineWidths.size());
    m.drawn = text;
    return m;
  }
  // Longest start that fits with "…" after it.
  std::vector<CodePoint> cut = cps;
  for (std::size_t keep = cps.size(); keep-- > 0;) {
    std::size_t end = keep;
    while (end > 0 && cps[end - 1].value == ' ') --end;
    cut.resize(end);
    cut.push_back({U'…', 0});
    Wrapped w = wrap(cut, cut.size(), width);
    if (fits(w) || end == 0) {
      m.size = sizeOf(w);
      m.lines = static_cast<int>(w.lineWidths.size());
      m.drawn = text.substr(0, end < cps.size() ? cps[end].offset : text.size()) + "…";
      m.truncated = true;
      return m;
    }
    cut = cps;
  }
  return m;
}

}  // namespace swiftui
