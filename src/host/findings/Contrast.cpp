#include "host/findings/Contrast.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <unordered_map>

#include "drawing/LayoutReport.h"
#include "host/system/WidgetFraming.h"
#include "shared/Palette.h"

namespace host {
namespace {

// A component as a number 0...1; NaN as 0.
double unit(double v) {
  return v > 0 ? std::min(v, 1.0) : 0;
}

// Opacity 0...1; a NaN opacity as opaque, so the colour is compared as its components.
double opacity(const uikit::RGBA& c) {
  return std::isnan(c.alpha) ? 1 : unit(c.alpha);
}

double linear(double c) {
  c = unit(c);
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// `top` over the opaque `below`, blended in sRGB components as the painter blends.
uikit::RGBA over(const uikit::RGBA& top, const uikit::RGBA& below) {
  double a = opacity(top);
  auto mix = [a](double t, double b) { return unit(t) * a + unit(b) * (1 - a); };
  return {mix(top.red, below.red), mix(top.green, below.green), mix(top.blue, below.blue), 1};
}

struct Named {
  std::string_view name;
  const swiftui::Color& (*color)();
};

// The palette's colours a text is drawn in; the divider is a fill, named only as a background.
constexpr Named kTextColors[] = {
    {"primaryTextColor", tamsa::primaryTextColor},
    {"secondaryTextColor", tamsa::secondaryTextColor},
    {"tertiaryTextColor", tamsa::tertiaryTextColor},
    {"footerTextColor", tamsa::footerTextColor},
    {"incomeColor", tamsa::incomeColor},
    {"expenseColor", tamsa::expenseColor},
};

// Colours are compared as drawn: eight bits a component, as the picture holds them.
std::uint32_t rgb8(const uikit::RGBA& c) {
  auto byte = [](double v) { return static_cast<std::uint32_t>(std::lround(unit(v) * 255)); };
  return byte(c.red) << 16 | byte(c.green) << 8 | byte(c.blue);
}

uikit::RGBA colorOf(std::uint32_t rgb) {
  return {(rgb >> 16 & 0xFF) / 255.0, (rgb >> 8 & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, 1};
}

// Within two steps of eight bits in every component: the same colour after rounding and blending.
bool close(std::uint32_t a, std::uint32_t b) {
  for (int shift : {16, 8, 0}) {
    int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
    if (std::abs(d) > 2) return false;
  }
  return true;
}

enum class Role { foreground, background };

std::string colorName(const uikit::RGBA& color, swiftui::ColorScheme appearance, Role role,
                      const std::optional<drawing::AccentedRendering>& accented = std::nullopt) {
  std::uint32_t rgb = rgb8(color);
  if (accented && opacity(color) >= 1) {
    // The accented mode shows tones of its own over its backdrop, never the palette.
    if (role == Role::foreground && rgb == rgb8(accented->standardTone)) return "default tone";
    if (role == Role::foreground && rgb == rgb8(accented->accentTone)) return "accent tone";
    if (role == Role::background && close(rgb, rgb8(accented->backdrop))) return "backdrop";
  } else if (opacity(color) >= 1) {
    if (role == Role::background && rgb == rgb8(widgetBackground(appearance)))
      return "widget background";
    for (const Named& n : kTextColors)
      if (rgb == rgb8(n.color().resolved(appearance))) return std::string(n.name);
    if (role == Role::background && rgb == rgb8(tamsa::dividerColor().resolved(appearance)))
      return "dividerColor";
  }
  return drawing::hexColor(colorOf(rgb));
}

// The pixel columns or rows [begin, end) a span of points covers, clamped to 0...limit; empty
// when the span is not made of numbers.
struct Span {
  int begin = 0, end = 0;
};
Span pixelSpan(double origin, double length, double scale, int limit) {
  double from = origin * scale, to = (origin + length) * scale;
  if (!std::isfinite(from) || !std::isfinite(to) || limit <= 0) return {};
  auto clamp = [limit](double v) { return static_cast<int>(std::clamp(v, 0.0, double(limit))); };
  return {clamp(std::floor(from)), clamp(std::ceil(to))};
}

// The background behind a text of colour `text` in `frame`; nothing when no opaque pixel is there.
std::optional<std::uint32_t> backgroundBehind(const drawing::RenderedImage& image, double scale,
                                              const swiftui::Rect& frame, std::uint32_t text) {
  if (!image.whole() || !(scale > 0)) return std::nullopt;
  Span xs = pixelSpan(frame.x, frame.width, scale, image.width);
  Span ys = pixelSpan(frame.y, frame.height, scale, image.height);
  std::unordered_map<std::uint32_t, std::size_t> ofText, others;
  std::size_t textCount = 0, count = 0;
  // Counted by runs of one pixel value: most of a frame is its ground, in long runs.
  std::uint32_t runValue = 0;
  std::size_t run = 0;
  auto countRun = [&] {
    if (run == 0 || runValue >> 24 != 255) return;  // the frame's corners and what lies outside
    const std::uint32_t rgb = runValue & 0xFFFFFF;
    count += run;
    if (close(rgb, text)) {
      textCount += run;
      ofText[rgb] += run;
    } else {
      others[rgb] += run;
    }
  };
  for (int y = ys.begin; y < ys.end; ++y) {
    const std::uint32_t* row = image.pixels.data() + std::size_t(y) * std::size_t(image.width);
    for (int x = xs.begin; x < xs.end; ++x) {
      if (run > 0 && row[x] == runValue) {
        ++run;
        continue;
      }
      countRun();
      runValue = row[x], run = 1;
    }
  }
  countRun();
  if (count == 0) return std::nullopt;
  // Strokes never fill most of their frame: when the text's colour does, it is the ground too.
  const auto& pool = textCount * 2 > count ? ofText : others;
  std::pair<std::uint32_t, std::size_t> best{0, 0};
  for (const auto& [rgb, n] : pool)
    if (n > best.second || (n == best.second && rgb < best.first)) best = {rgb, n};
  return best.first;
}

}  // namespace

double relativeLuminance(const uikit::RGBA& c) {
  return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

double contrastRatio(const uikit::RGBA& a, const uikit::RGBA& b) {
  bool aOpaque = opacity(a) >= 1, bOpaque = opacity(b) >= 1;
  uikit::RGBA first = !aOpaque && bOpaque ? over(a, b) : a;
  uikit::RGBA second = !bOpaque && aOpaque ? over(b, a) : b;
  double l1 = relativeLuminance(first), l2 = relativeLuminance(second);
  return (std::max(l1, l2) + 0.05) / (std::min(l1, l2) + 0.05);
}

TextSize textSize(double fontSize, swiftui::Font::Weight weight) {
  bool bold = weight >= swiftui::Font::Weight::bold;
  return fontSize >= 18 || (bold && fontSize >= 14) ? TextSize::large : TextSize::normal;
}

double requiredRatio(TextSize size) {
  return size == TextSize::large ? 3 : 4.5;
}

std::string formatRatio(double ratio) {
  char out[32];
  std::snprintf(out, sizeof out, "%.2f:1", std::floor(ratio * 100) / 100);
  return out;
}

std::vector<TextContrast> textContrasts(const drawing::LayoutTree& tree,
                                        const drawing::RenderedImage& pixels,
                                        swiftui::ColorScheme appearance) {
  std::vector<TextContrast> out;
  for (const drawing::LayoutTreeNode* node : tree.texts()) {
    if (!node->text) continue;
    const swiftui::TextLayout& t = *node->text;
    const uikit::RGBA shown = tree.shown(*node, t.color);
    std::optional<std::uint32_t> ground =
        backgroundBehind(pixels, tree.scale, node->frame, rgb8(shown));
    if (!ground) continue;
    TextContrast c;
    c.string = t.string;
    c.source = t.source;
    c.fontSize = t.fontSize;
    c.fontWeight = t.fontWeight;
    c.size = textSize(t.fontSize, t.fontWeight);
    c.foreground = shown;
    c.background = colorOf(*ground);
    c.ratio = contrastRatio(c.foreground, c.background);
    c.required = requiredRatio(c.size);
    c.foregroundName = colorName(c.foreground, appearance, Role::foreground, tree.accented);
    c.backgroundName = colorName(c.background, appearance, Role::background, tree.accented);
    c.frame = node->frame;
    out.push_back(std::move(c));
  }
  return out;
}

std::vector<ToneMerge> toneMerges(const drawing::LayoutTree& tree,
                                  swiftui::ColorScheme appearance) {
  std::vector<ToneMerge> out;
  if (!tree.accented) return out;
  auto hued = [](std::uint32_t rgb) {
    int r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    return std::max({r, g, b}) - std::min({r, g, b}) > 24;
  };
  struct Seen {
    const drawing::LayoutTreeNode* node;
    std::uint32_t asked, shown;
  };
  std::vector<Seen> seen;
  for (const drawing::LayoutTreeNode* node : tree.texts()) {
    const swiftui::TextLayout& t = *node->text;
    std::uint32_t asked = rgb8(t.color), shown = rgb8(tree.shown(*node, t.color));
    if (!hued(asked)) continue;
    for (const Seen& s : seen) {
      const swiftui::TextLayout& o = *s.node->text;
      if (s.shown != shown || close(s.asked, asked) || o.fontWeight != t.fontWeight ||
          std::abs(o.requestedFontSize - t.requestedFontSize) > 0.01)
        continue;
      ToneMerge m{colorName(o.color, appearance, Role::foreground),
                  colorName(t.color, appearance, Role::foreground), o.string, t.string};
      if (m.second < m.first)
        std::swap(m.first, m.second), std::swap(m.firstString, m.secondString);
      if (std::find_if(out.begin(), out.end(), [&](const ToneMerge& x) {
            return x.first == m.first && x.second == m.second;
          }) == out.end())
        out.push_back(std::move(m));
    }
    seen.push_back({node, asked, shown});
  }
  return out;
}

std::string paletteContrastTable() {
  std::string out =
      "| Text colour | Appearance | Colour | Widget background | Ratio | Normal text (4.5:1) | "
      "Large text (3:1) |\n"
      "|---|---|---|---|---|---|---|\n";
  auto verdict = [](double ratio, TextSize size) {
    return ratio >= requiredRatio(size) ? "pass" : "fail";
  };
  for (const Named& n : kTextColors) {
    for (swiftui::ColorScheme appearance :
         {swiftui::ColorScheme::light, swiftui::ColorScheme::dark}) {
      uikit::RGBA text = n.color().resolved(appearance), ground = widgetBackground(appearance);
      double ratio = contrastRatio(text, ground);
      out += "| " + std::string(n.name) + " | " +
             (appearance == swiftui::ColorScheme::light ? "light" : "dark") + " | " +
             drawing::hexColor(text) + " | " + drawing::hexColor(ground) + " | " +
             formatRatio(ratio) + " | " + verdict(ratio, TextSize::normal) + " | " +
             verdict(ratio, TextSize::large) + " |\n";
    }
  }
  return out;
}

}  // namespace host
