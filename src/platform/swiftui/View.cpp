#include "platform/swiftui/View.h"

#include "platform/swiftui/ViewNode.h"

namespace swiftui {

namespace {

template <typename Node>
View make(Node node) {
  return View(std::make_shared<const ViewNode>(ViewNode{std::move(node)}));
}

// Styling modifiers applied one after another fold into one node; the inner one wins.
View withPatch(const View& view, const EnvironmentPatch& patch) {
  if (const auto* env = std::get_if<EnvironmentModifierNode>(&view.node().value))
    return make(EnvironmentModifierNode{env->content, env->patch.over(patch)});
  return make(EnvironmentModifierNode{view, patch});
}

}  // namespace

View::View() : node_(std::make_shared<const ViewNode>(ViewNode{EmptyNode{}})) {}

View View::font(Font font) const {
  return withPatch(*this, EnvironmentPatch{.font = font});
}
View View::foregroundColor(Color color) const {
  return withPatch(*this, EnvironmentPatch{.foregroundColor = std::move(color)});
}
View View::lineLimit(std::optional<int> lines) const {
  return withPatch(*this, EnvironmentPatch{.lineLimit = lines});
}
View View::minimumScaleFactor(double factor) const {
  return withPatch(*this, EnvironmentPatch{.minimumScaleFactor = factor});
}
View View::multilineTextAlignment(TextAlignment alignment) const {
  return withPatch(*this, EnvironmentPatch{.multilineTextAlignment = alignment});
}

View View::widgetAccentable(bool accentable) const {
  return withPatch(*this, EnvironmentPatch{.accentGroup = accentable ? AccentGroup::accent
                                                                     : AccentGroup::standard});
}
View View::widgetAccentedRenderingMode(WidgetAccentedRenderingMode mode) const {
  return withPatch(*this, EnvironmentPatch{.accentedRenderingMode = mode});
}

View View::frame(FlexibleFrame frame) const {
  return make(FlexibleFrameNode{*this, frame});
}
View View::frame(FixedFrame frame) const {
  return make(FixedFrameNode{*this, frame});
}
View View::padding(EdgeInsets insets) const {
  return make(PaddingNode{*this, insets});
}
View View::background(Color color, EdgeSet ignoresSafeAreaEdges) const {
  return make(BackgroundNode{*this, std::move(color), ignoresSafeAreaEdges});
}
View View::background(Color color, ShapeKind shape) const {
  return make(BackgroundNode{*this, std::move(color), EdgeSet{}, shape});
}
View View::fill(Color color) const {
  if (std::holds_alternative<RectangleNode>(node_->value)) return make(RectangleNode{color});
  return *this;
}
View View::containerBackground(BackgroundStyle style,
                               ContainerBackgroundPlacement placement) const {
  return make(ContainerBackgroundNode{*this, style, placement});
}
View View::widgetURL(std::optional<std::string> url) const {
  return make(WidgetURLNode{*this, std::move(url)});
}

View VStack(HorizontalAlignment alignment, std::optional<double> spacing, ViewList children) {
  return make(StackNode{Axis::vertical, static_cast<int>(alignment), spacing, std::move(children)});
}
View VStack(ViewList children) {
  return VStack(HorizontalAlignment::center, std::nullopt, std::move(children));
}
View HStack(VerticalAlignment alignment, std::optional<double> spacing, ViewList children) {
  return make(
      StackNode{Axis::horizontal, static_cast<int>(alignment), spacing, std::move(children)});
}
View HStack(ViewList children) {
  return HStack(VerticalAlignment::center, std::nullopt, std::move(children));
}
View Group(ViewList children) {
  return make(GroupNode{std::move(children)});
}
View AnyView(View content) {
  return make(AnyViewNode{std::move(content)});
}
View conditionalView(bool condition, View chosen) {
  return make(ConditionalNode{condition, std::move(chosen)});
}
View EnvironmentReader(std::function<View(const EnvironmentValues&)> build) {
  return make(EnvironmentReaderNode{std::move(build)});
}
View Spacer(std::optional<double> minLength) {
  return make(SpacerNode{minLength});
}
View Rectangle() {
  return make(RectangleNode{});
}
View Text(std::string verbatim) {
  return make(TextNode{std::move(verbatim), false});
}
View Text(LocalizedStringKey key) {
  return make(TextNode{std::move(key.key), true});
}
View Label(std::string title, std::string systemImage) {
  return make(LabelNode{std::move(title), std::move(systemImage)});
}
View Image(std::string systemName) {
  return make(ImageNode{std::move(systemName)});
}

}  // namespace swiftui
