// The layout engine: places a view tree in the space a widget offers, with the platform's rules.
// Stacks take their spacing first, then offer each child, least flexible first (spacers last),
// what is left divided by the children still to place; spacers share the rest equally with their
// minimums; flexible frames fill the offer up to their maxima; fixed frames replace it; padding
// shrinks it; a background takes the size of its view. Texts are measured by a TextMeasurer:
// they wrap unless they have a line limit, and with one they shrink down to their minimum scale
// factor before they are cut. Pure functions of their inputs; safe to call from several threads
// when the measurer is.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/swiftui/EnvironmentValues.h"
#include "platform/swiftui/LayoutNode.h"
#include "platform/swiftui/TextMeasurer.h"
#include "platform/swiftui/View.h"

namespace swiftui {

// What a parent offers: a length per axis, not given (the view's ideal size) or infinite.
struct ProposedSize {
  std::optional<double> width{};
  std::optional<double> height{};
  bool operator==(const ProposedSize&) const = default;
};

// Where a text came from: the language of its table, which the text is measured and drawn in
// (nothing: the environment's language), and the table entry itself (nothing: from no table).
struct TextOrigin {
  std::optional<std::string> language{};
  std::optional<TextSource> source{};
  bool operator==(const TextOrigin&) const = default;
};
using TextOrigins = std::function<TextOrigin(const std::string& shown, bool fromKey)>;

struct LayoutContext {
  const TextMeasurer& measurer;
  // Resolves the keys of Text(LocalizedStringKey) in the system's language; not set: the key.
  std::function<std::string(const std::string&)> localizedKeyResolver{};
  // Pixels per point: text sizes are rounded up to this grid.
  double pixelScale = 1;
  // Where a text came from, by the string shown and whether it was resolved from a key
  // (Text(LocalizedStringKey)). Not set: from no table.
  TextOrigins textOrigin{};
};

// What the host needs to know of a tree before it lays it out.
struct ViewTraits {
  bool usesContainerBackground = false;
  std::optional<std::string> widgetURL;  // the outermost widgetURL given a URL
  bool operator==(const ViewTraits&) const = default;
};
ViewTraits inspect(const View& view, const EnvironmentValues& env);

// Lays `view` out for `proposal`; its frame starts at the origin.
LayoutNode layout(const View& view, ProposedSize proposal, const EnvironmentValues& env,
                  const LayoutContext& context);

// Lays `view` out in a widget of `size`: offered the size less the margins and centred in it.
WidgetLayout layoutWidget(const View& view, Size size, EdgeInsets contentMargins,
                          const EnvironmentValues& env, const LayoutContext& context);

}  // namespace swiftui
