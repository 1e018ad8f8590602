// View: a type-erased, immutable view value (the stand-in for `some View` and `AnyView`), and
// the functions that make the primitives. Views are cheap to copy (one shared node) and cheap to
// build: a primitive or a modifier allocates one node; nothing is measured until layout.
//
//   VStack(HorizontalAlignment::leading, 0,
//          {Text(title).font(Font::system(14, Font::Weight::bold)).lineLimit(1),
//           Spacer(6),
//           HStack({Text(caption), Spacer(), Text(amount).lineLimit(1).minimumScaleFactor(0.7)})})
//       .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity})
//
// Modifiers return a new view wrapping this one; the order of application is kept. Styling
// modifiers (font, foregroundColor, lineLimit, minimumScaleFactor, multilineTextAlignment) set
// the environment of what they wrap: on a text they style it, on a stack every text inside.
// Views that depend on the environment (the widget family) are made with EnvironmentReader, so
// one tree follows the family that the host renders. Safe to share across threads.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/swiftui/Color.h"
#include "platform/swiftui/EnvironmentValues.h"
#include "platform/swiftui/Font.h"
#include "platform/swiftui/Geometry.h"

namespace swiftui {

struct ViewNode;

// frame(minWidth:idealWidth:maxWidth:minHeight:idealHeight:maxHeight:alignment:).
struct FlexibleFrame {
  std::optional<double> minWidth{}, idealWidth{}, maxWidth{};
  std::optional<double> minHeight{}, idealHeight{}, maxHeight{};
  Alignment alignment{};
  bool operator==(const FlexibleFrame&) const = default;
};

// frame(width:height:alignment:): a given length replaces the offer on its axis.
struct FixedFrame {
  std::optional<double> width{}, height{};
  Alignment alignment{};
  bool operator==(const FixedFrame&) const = default;
};

// The platform's default background style (BackgroundStyle) and where a container background goes.
struct BackgroundStyle {
  bool operator==(const BackgroundStyle&) const = default;
};
enum class ContainerBackgroundPlacement { widget };

// A text key resolved by the framework in the system's language (LocalizedStringKey).
struct LocalizedStringKey {
  std::string key;
  bool operator==(const LocalizedStringKey&) const = default;
};

class View {
 public:
  // EmptyView.
  View();
  explicit View(std::shared_ptr<const ViewNode> node) : node_(std::move(node)) {}

  const ViewNode& node() const { return *node_; }

  View font(Font font) const;
  View foregroundColor(Color color) const;
  // Not given: as many lines as needed.
  View lineLimit(std::optional<int> lines) const;
  View minimumScaleFactor(double factor) const;
  View multilineTextAlignment(TextAlignment alignment) const;

  View frame(FlexibleFrame frame) const;
  View frame(FixedFrame frame) const;
  View padding(double length = 16) const { return padding(EdgeSet::all, length); }
  View padding(EdgeSet edges, double length) const { return padding(insets(edges, length)); }
  View padding(EdgeInsets insets) const;
  // background(_:ignoresSafeAreaEdges:) with a colour.
  View background(Color color, EdgeSet ignoresSafeAreaEdges = EdgeSet::all) const;
  // background(_:in:): the colour fills `shape` fitted to this view's frame.
  View background(Color color, ShapeKind shape) const;
  // The fill of a shape; on anything else it changes nothing.
  View fill(Color color) const;

  // WidgetKit's modifiers.
  View containerBackground(BackgroundStyle style, ContainerBackgroundPlacement placement) const;
  // Not given: the widget has no link of its own.
  View widgetURL(std::optional<std::string> url) const;
  // Puts this view and what it contains in the accent group (or back in the default one).
  View widgetAccentable(bool accentable = true) const;
  // How the images this view contains are drawn in the accented mode.
  View widgetAccentedRenderingMode(WidgetAccentedRenderingMode mode) const;

 private:
  std::shared_ptr<const ViewNode> node_;
};

using ViewList = std::vector<View>;

// Stacks. Spacing not given: the framework's default between each pair of neighbours.
View VStack(HorizontalAlignment alignment, std::optional<double> spacing, ViewList children);
View VStack(ViewList children);
View HStack(VerticalAlignment alignment, std::optional<double> spacing, ViewList children);
View HStack(ViewList children);
// Group: no layout of its own; in a stack its children become the stack's children.
View Group(ViewList children);
// AnyView: erases a view's type; no layout of its own.
View AnyView(View content);

// _ConditionalContent: builds only the chosen branch.
template <typename Then, typename Else>
View ConditionalContent(bool condition, Then&& thenBranch, Else&& elseBranch);

// A view built at layout time from the environment it is placed in (@Environment).
View EnvironmentReader(std::function<View(const EnvironmentValues&)> build);

// Takes the free space along its stack's axis, at least minLength (not given: 8).
View Spacer(std::optional<double> minLength = std::nullopt);
View Rectangle();
View Text(std::string verbatim);
View Text(LocalizedStringKey key);
View Label(std::string title, std::string systemImage);
// Image(systemName:): a symbol as wide and high as the font's size, in the foreground colour.
View Image(std::string systemName);

// Details for ConditionalContent.
View conditionalView(bool condition, View chosen);

template <typename Then, typename Else>
View ConditionalContent(bool condition, Then&& thenBranch, Else&& elseBranch) {
  return conditionalView(condition, condition ? View(thenBranch()) : View(elseBranch()));
}

}  // namespace swiftui
