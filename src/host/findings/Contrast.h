// Text contrast as WCAG 2.x defines it: the relative luminance of sRGB colours, the contrast
// ratio (L1 + 0.05) / (L2 + 0.05), and the ratio a text needs: 4.5:1, or 3:1 for large text
// (at least 18 points, or 14 points and bold). Points are the platform's, as its own guidelines
// read the rule. Each drawn text is measured against what the picture actually shows behind it,
// not against what the layout meant to paint there. Pure functions of their arguments; safe on
// any thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "drawing/LayoutTree.h"
#include "drawing/WidgetRenderer.h"
#include "platform/swiftui/Color.h"

namespace host {

// Relative luminance 0 (black) ... 1 (white) of the colour's components, opacity left out.
// Components outside 0...1 (or not numbers) count as the nearest end (0 for NaN).
double relativeLuminance(const uikit::RGBA& color);

// The contrast ratio 1 ... 21 of two colours, in either order. A translucent colour is first
// composited over the other when that one is opaque (the page it is drawn on); two translucent
// colours have nothing known beneath them and are compared as their components.
double contrastRatio(const uikit::RGBA& a, const uikit::RGBA& b);

enum class TextSize { normal, large };

// Large text: at least 18 points, or at least 14 points at bold or heavier.
TextSize textSize(double fontSize, swiftui::Font::Weight weight);

// The ratio a text of that size needs: 4.5 normal, 3 large.
double requiredRatio(TextSize size);

// A ratio as "4.52:1", cut (not rounded) to hundredths, so that a ratio shown as passing passes.
std::string formatRatio(double ratio);

struct TextContrast {
  std::string string;  // the full text
  std::optional<swiftui::TextSource> source;
  double fontSize = 0;
  swiftui::Font::Weight fontWeight = swiftui::Font::Weight::regular;
  TextSize size = TextSize::normal;
  uikit::RGBA foreground, background;
  double ratio = 1;
  double required = 4.5;
  // The palette's name of the colour in the picture's appearance ("primaryTextColor", "widget
  // background" for the system background), else "#RRGGBB".
  std::string foregroundName, backgroundName;
  swiftui::Rect frame;  // in points from the widget's top-left corner

  bool passes() const { return ratio >= required; }
  bool operator==(const TextContrast&) const = default;
};

// Every text of `tree` (drawing order) against the background `pixels` show behind it: the
// commonest opaque colour inside the text's frame (the strokes are thin), leaving out pixels of
// the text's own colour unless they are most of the frame (then the text sits on its own colour).
// A text whose frame holds no opaque pixel of the picture (empty, outside it, not a number)
// has no entry. `appearance` is the picture's, for naming colours.
std::vector<TextContrast> textContrasts(const drawing::LayoutTree& tree,
                                        const drawing::RenderedImage& pixels,
                                        swiftui::ColorScheme appearance);

// Two texts of one size and weight told apart by colour alone (both of a hue, as the income and
// expense amounts are), which the accented mode draws in one tone: their palette names (else
// "#RRGGBB"), in name order, and a text of each.
struct ToneMerge {
  std::string first, second;
  std::string firstString, secondString;
  bool operator==(const ToneMerge&) const = default;
};

// Each pair of colours a picture drawn in the accented mode shows in one tone; none for a picture
// in full colour. Greys are left out: they rank texts, they do not tell them apart.
std::vector<ToneMerge> toneMerges(const drawing::LayoutTree& tree, swiftui::ColorScheme appearance);

// The palette's text colours in light and dark against the widget background the host paints in
// that appearance, as a Markdown table: ratio and whether normal and large text pass.
std::string paletteContrastTable();

}  // namespace host
