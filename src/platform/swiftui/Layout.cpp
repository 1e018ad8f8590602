#include "platform/swiftui/Layout.h"

#include <algorithm>
#include <cmath>
#include <concepts>
#include <map>
#include <memory>
#include <tuple>

#include "platform/swiftui/ViewNode.h"

namespace swiftui {

namespace {

constexpr double kDefaultSpacerMinimum = 8;
constexpr double kDefaultStackSpacing = 8;
constexpr double kLabelIconSpacing = 6;
// The framework's ideal size for a shape offered nothing in particular.
constexpr double kShapeIdealLength = 10;

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// Infinite lengths stay infinite when something is taken from them.
double minus(double a, double b) {
  return std::isinf(a) ? a : a - b;
}

double along(Axis axis, Size s) {
  return axis == Axis::horizontal ? s.width : s.height;
}
double across(Axis axis, Size s) {
  return axis == Axis::horizontal ? s.height : s.width;
}
std::optional<double> along(Axis axis, ProposedSize p) {
  return axis == Axis::horizontal ? p.width : p.height;
}
std::optional<double> across(Axis axis, ProposedSize p) {
  return axis == Axis::horizontal ? p.height : p.width;
}
ProposedSize proposal(Axis axis, std::optional<double> main, std::optional<double> cross) {
  return axis == Axis::horizontal ? ProposedSize{main, cross} : ProposedSize{cross, main};
}
Size sizeOf(const LayoutNode& n) {
  return {n.frame.width, n.frame.height};
}

// Where a child of `length` starts in `space`: 0 leading, 1 centre, 2 trailing.
double aligned(int alignment, double space, double length) {
  if (alignment == 0) return 0;
  if (alignment == 1) return (space - length) / 2;
  return space - length;
}

void place(LayoutNode& child, double x, double y) {
  child.frame.x = x;
  child.frame.y = y;
}

// In right-to-left layout a container places its children as in left-to-right layout and then
// mirrors them within itself: stacks run from the right, leading alignments and paddings swap.
void mirrorIfRightToLeft(LayoutNode& node, const EnvironmentValues& env) {
  if (env.layoutDirection != LayoutDirection::rightToLeft) return;
  for (LayoutNode& c : node.children) c.frame.x = node.frame.width - c.frame.x - c.frame.width;
}

// Frames are built relative to the parent; this makes them absolute.
void absolutize(LayoutNode& node, double originX, double originY) {
  node.frame.x += originX;
  node.frame.y += originY;
  for (LayoutNode& c : node.children) absolutize(c, node.frame.x, node.frame.y);
}

// The view under transparent wrappers (AnyView, conditional content, styling modifiers).
const ViewNode& unwrapped(const View& view) {
  const ViewNode* n = &view.node();
  while (true) {
    if (auto* a = std::get_if<AnyViewNode>(&n->value))
      n = &a->content.node();
    else if (auto* c = std::get_if<ConditionalNode>(&n->value))
      n = &c->content.node();
    else if (auto* e = std::get_if<EnvironmentModifierNode>(&n->value))
      n = &e->content.node();
    else
      return *n;
  }
}

bool isSpacer(const View& view) {
  return std::holds_alternative<SpacerNode>(unwrapped(view).value);
}

// The gap the framework puts between two neighbours of a stack that has no spacing: none beside a
// spacer, 8 points otherwise.
double defaultSpacing(const View& before, const View& after) {
  return isSpacer(before) || isSpacer(after) ? 0 : kDefaultStackSpacing;
}

struct StackChild {
  View view;
  EnvironmentValues env;
};

// Texts are cached by the identity of their string: hashing or comparing a long text on every
// lookup would cost more than measuring its bounded start. The engine keeps every view it lays
// out alive, so an address never comes to name another string while the cache lives.
struct TextKey {
  const std::string* text;
  double size;
  Font::Weight weight;
  double maxWidth;  // -1: none
  int lineLimit;    // -1: none
  std::optional<std::string> language;
  auto operator<=>(const TextKey&) const = default;
};

// A text's measurement after shrinking, and the scale it was shrunk by.
struct FittedText {
  TextMeasurement measurement;
  double scale = 1;
};

// What the children of a stack need before any of them is offered a length.
struct StackPlan {
  std::vector<double> gaps;  // before each child
  double totalSpacing = 0;
  std::vector<std::size_t> others;   // not spacers: placed first
  std::vector<std::size_t> spacers;  // lowest priority: share the rest
  double spacerMinimums = 0;
};

class Engine {
 public:
  explicit Engine(const LayoutContext& context) : context_(context) {}

  LayoutNode layout(const View& view, ProposedSize p, const EnvironmentValues& env) {
    return std::visit(
        Overloaded{
            [&](const EmptyNode&) { return leaf("EmptyView", {}); },
            [&](const StackNode& s) { return stack(s, p, env); },
            [&](const GroupNode& g) { return group(g, p, env); },
            [&](const AnyViewNode& a) { return layout(a.content, p, env); },
            [&](const ConditionalNode& c) { return layout(c.content, p, env); },
            [&](const EnvironmentReaderNode& r) { return layout(keep(r.build(env)), p, env); },
            [&](const SpacerNode& s) {
              double min = s.minLength.value_or(kDefaultSpacerMinimum);
              return leaf("Spacer", {std::max(p.width.value_or(min), min),
                                     std::max(p.height.value_or(min), min)});
            },
            [&](const RectangleNode& r) {
              LayoutNode n = leaf("Rectangle", {p.width.value_or(kShapeIdealLength),
                                                p.height.value_or(kShapeIdealLength)});
              n.color = r.fill ? r.fill->resolved(env.colorScheme) : foreground(env);
              n.accentGroup = env.accentGroup;
              return n;
            },
            [&](const TextNode& t) { return text(t.content, t.isLocalizedKey, p, env); },
            [&](const LabelNode& l) { return label(l, p, env); },
            [&](const ImageNode& i) { return image(i.systemName, env); },
            [&](const EnvironmentModifierNode& m) {
              EnvironmentValues inner = env;
              m.patch.applyTo(inner);
              return layout(m.content, p, inner);
            },
            [&](const FlexibleFrameNode& f) { return flexibleFrame(f, p, env); },
            [&](const FixedFrameNode& f) { return fixedFrame(f, p, env); },
            [&](const PaddingNode& pad) { return padding(pad, p, env); },
            [&](const BackgroundNode& b) {
              LayoutNode child = layout(b.content, p, env);
              LayoutNode n = leaf("Background", sizeOf(child));
              n.color = b.color.resolved(env.colorScheme);
              n.accentGroup = env.accentGroup;
              n.shape = b.shape;
              n.children.push_back(std::move(child));
              return n;
            },
            [&](const ContainerBackgroundNode& c) { return layout(c.content, p, env); },
            [&](const WidgetURLNode& w) { return layout(w.content, p, env); },
        },
        view.node().value);
  }

 private:
  static LayoutNode leaf(const char* type, Size size) {
    LayoutNode n;
    n.type = type;
    n.frame = {0, 0, size.width, size.height};
    return n;
  }

  static uikit::RGBA foreground(const EnvironmentValues& env) {
    return env.foregroundColor ? env.foregroundColor->resolved(env.colorScheme)
                               : Color::primary().resolved(env.colorScheme);
  }

  double roundUp(double length) const {
    return std::ceil(length * context_.pixelScale - 1e-6) / context_.pixelScale;
  }

  // Views built during layout live as long as the engine (see TextKey).
  const View& keep(View view) {
    built_.push_back(std::make_unique<View>(std::move(view)));
    return *built_.back();
  }

  // A stack's children with groups expanded; a styling modifier on a group styles each child.
  void flatten(const View& view, const EnvironmentValues& env, std::vector<StackChild>& out) {
    std::visit(Overloaded{
                   [&](const GroupNode& g) {
                     for (const View& c : g.children) flatten(c, env, out);
                   },
                   [&](const ConditionalNode& c) { flatten(c.content, env, out); },
                   [&](const AnyViewNode& a) { flatten(a.content, env, out); },
                   [&](const EnvironmentReaderNode& r) { flatten(keep(r.build(env)), env, out); },
                   [&](const EnvironmentModifierNode& m) {
                     if (std::holds_alternative<GroupNode>(unwrapped(m.content).value)) {
                       EnvironmentValues inner = env;
                       m.patch.applyTo(inner);
                       flatten(m.content, inner, out);
                     } else {
                       out.push_back({view, env});
                     }
                   },
                   [&](const auto&) {
                     out.push_back({view, env});
                   },
               },
               view.node().value);
  }

  LayoutNode stack(const StackNode& s, ProposedSize p, const EnvironmentValues& env) {
    std::vector<StackChild> kids;
    for (const View& c : s.children) flatten(c, env, kids);
    LayoutNode n = stackOf(s.axis, s.alignment, s.spacing, kids, p,
                           s.axis == Axis::vertical ? "VStack" : "HStack");
    mirrorIfRightToLeft(n, env);
    return n;
  }

  LayoutNode group(const GroupNode& g, ProposedSize p, const EnvironmentValues& env) {
    std::vector<StackChild> kids;
    for (const View& c : g.children) flatten(c, env, kids);
    if (kids.size() == 1) return layout(kids[0].view, p, kids[0].env);
    // Several views with no stack around them fall into a column.
    LayoutNode n = stackOf(Axis::vertical, 1, std::nullopt, kids, p, "Group");
    mirrorIfRightToLeft(n, env);
    return n;
  }

  // A stack: the gaps first, then each child sized in turn, then all placed along the axis.
  LayoutNode stackOf(Axis axis, int alignment, std::optional<double> spacing,
                     const std::vector<StackChild>& kids, ProposedSize p, const char* type) {
    StackPlan plan = planStack(spacing, kids);
    std::vector<LayoutNode> nodes =
        along(axis, p) ? sizeChildren(axis, *along(axis, p), across(axis, p), kids, plan)
                       : idealChildren(axis, across(axis, p), kids, plan);
    return arrange(axis, alignment, type, plan.gaps, std::move(nodes));
  }

  static StackPlan planStack(std::optional<double> spacing, const std::vector<StackChild>& kids) {
    StackPlan plan;
    plan.gaps.assign(kids.size(), 0);
    for (std::size_t i = 0; i < kids.size(); ++i) {
      if (i > 0) {
        plan.gaps[i] = spacing ? *spacing : defaultSpacing(kids[i - 1].view, kids[i].view);
        plan.totalSpacing += plan.gaps[i];
      }
      if (isSpacer(kids[i].view)) {
        plan.spacers.push_back(i);
        plan.spacerMinimums += spacerMinimum(kids[i].view);
      } else {
        plan.others.push_back(i);
      }
    }
    return plan;
  }

  // Nothing proposed along the axis: every child takes its ideal size.
  std::vector<LayoutNode> idealChildren(Axis axis, std::optional<double> cross,
                                        const std::vector<StackChild>& kids,
                                        const StackPlan& plan) {
    std::vector<LayoutNode> nodes(kids.size());
    for (std::size_t i : plan.others)
      nodes[i] = layout(kids[i].view, proposal(axis, {}, cross), kids[i].env);
    for (std::size_t i : plan.spacers) nodes[i] = spacerNode(axis, spacerMinimum(kids[i].view));
    return nodes;
  }

  // Least flexible first, each offered what is left divided by the children still to place;
  // then the spacers share what remains.
  std::vector<LayoutNode> sizeChildren(Axis axis, double main, std::optional<double> cross,
                                       const std::vector<StackChild>& kids, StackPlan plan) {
    std::vector<LayoutNode> nodes(kids.size());
    sortByFlexibility(axis, cross, kids, plan.others);
    double remaining = minus(main, plan.totalSpacing);
    double available = minus(remaining, plan.spacerMinimums);
    std::size_t left = plan.others.size();
    for (std::size_t i : plan.others) {
      double offer = std::isinf(available) ? available : std::max(0.0, available / left--);
      nodes[i] = layout(kids[i].view, proposal(axis, offer, cross), kids[i].env);
      double taken = along(axis, sizeOf(nodes[i]));
      available = minus(available, taken);
      remaining = minus(remaining, taken);
    }
    left = plan.spacers.size();
    for (std::size_t i : plan.spacers) {
      double offer = std::isinf(remaining) ? remaining : std::max(0.0, remaining / left--);
      nodes[i] = spacerNode(axis, std::max(offer, spacerMinimum(kids[i].view)));
      remaining = minus(remaining, along(axis, sizeOf(nodes[i])));
    }
    return nodes;
  }

  // Flexibility is what a child takes of an unbounded offer less what it takes of none.
  void sortByFlexibility(Axis axis, std::optional<double> cross,
                         const std::vector<StackChild>& kids, std::vector<std::size_t>& order) {
    if (order.size() < 2) return;
    std::vector<double> flexibility(kids.size(), 0);
    ++probing_;
    for (std::size_t i : order) {
      auto taken = [&](double offer) {
        return along(axis, sizeOf(layout(kids[i].view, proposal(axis, offer, cross), kids[i].env)));
      };
      double least = taken(0), most = taken(infinity);
      flexibility[i] = std::isinf(most) ? infinity : most - least;
    }
    --probing_;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return flexibility[a] < flexibility[b]; });
  }

  // Main-axis size is the sum plus the gaps, cross-axis size the largest child.
  static LayoutNode arrange(Axis axis, int alignment, const char* type,
                            const std::vector<double>& gaps, std::vector<LayoutNode> nodes) {
    double mainLength = 0, crossLength = 0;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      mainLength += gaps[i] + along(axis, sizeOf(nodes[i]));
      crossLength = std::max(crossLength, across(axis, sizeOf(nodes[i])));
    }
    LayoutNode result = leaf(type, axis == Axis::horizontal ? Size{mainLength, crossLength}
                                                            : Size{crossLength, mainLength});
    double position = 0;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      position += gaps[i];
      LayoutNode& n = nodes[i];
      double offset = aligned(alignment, crossLength, across(axis, sizeOf(n)));
      if (axis == Axis::horizontal)
        place(n, position, offset);
      else
        place(n, offset, position);
      position += along(axis, sizeOf(n));
      result.children.push_back(std::move(n));
    }
    return result;
  }

  static double spacerMinimum(const View& view) {
    return std::get<SpacerNode>(unwrapped(view).value).minLength.value_or(kDefaultSpacerMinimum);
  }

  static LayoutNode spacerNode(Axis axis, double length) {
    return leaf("Spacer", axis == Axis::horizontal ? Size{length, 0} : Size{0, length});
  }

  const TextMeasurement& measure(const std::string& s, const Font& font,
                                 std::optional<double> maxWidth, std::optional<int> lineLimit,
                                 const std::optional<std::string>& language) {
    TextKey key{&s,      font.size, font.weight, maxWidth.value_or(-1), lineLimit.value_or(-1),
                language};
    auto it = cache_.find(key);
    if (it == cache_.end())
      it = cache_
               .emplace(std::move(key),
                        context_.measurer.measure(s, font, maxWidth, lineLimit, language))
               .first;
    return it->second;
  }

  // The string a text shows, at an address that lasts as long as the engine.
  const std::string& shownString(const std::string& content, bool isLocalizedKey) {
    if (!isLocalizedKey || !context_.localizedKeyResolver) return content;
    auto it = resolved_.find(content);
    if (it == resolved_.end())
      it = resolved_.emplace(content, context_.localizedKeyResolver(content)).first;
    return it->second;
  }

  // Where a text came from, asked once per string.
  const TextOrigin& textOrigin(const std::string& shown, bool isLocalizedKey) {
    static const TextOrigin kNone;
    if (!context_.textOrigin) return kNone;
    auto it = origins_.find({shown, isLocalizedKey});
    if (it == origins_.end())
      it =
          origins_
              .emplace(std::pair(shown, isLocalizedKey), context_.textOrigin(shown, isLocalizedKey))
              .first;
    return it->second;
  }

  LayoutNode text(const std::string& content, bool isLocalizedKey, ProposedSize p,
                  const EnvironmentValues& outer) {
    const std::string& string = shownString(content, isLocalizedKey);
    EnvironmentValues env = outer;
    const TextOrigin& origin = textOrigin(string, isLocalizedKey);
    // A text is measured and drawn in the language of its table, else the environment's.
    if (origin.language) env.language = origin.language;
    Font font = env.font.value_or(Font::body());
    std::optional<double> maxWidth;
    if (p.width && !std::isinf(*p.width)) maxWidth = *p.width;

    FittedText fitted{measure(string, font, maxWidth, env.lineLimit, env.language), 1};
    const double minimumScale = std::clamp(env.minimumScaleFactor, 0.01, 1.0);
    // Probes for flexibility skip shrinking: it changes a cut text's size by a few points and
    // would load fonts at sizes that are never drawn.
    if (fitted.measurement.truncated && maxWidth && env.lineLimit && minimumScale < 1 &&
        probing_ == 0)
      fitted = shrunk(string, font, *maxWidth, env, minimumScale);

    const TextMeasurement& m = fitted.measurement;
    LayoutNode n = leaf("Text", {roundUp(m.size.width), roundUp(m.size.height)});
    TextLayout& info = n.text.emplace();
    // Probes only need the size; copying a long text for each of them is not free.
    if (probing_ == 0) info.string = string;
    info.drawn = m.drawn;
    info.fontSize = font.size * fitted.scale;
    info.fontWeight = font.weight;
    info.color = foreground(env);
    n.accentGroup = env.accentGroup;
    info.lines = m.lines;
    info.shrunk = fitted.scale < 1;
    info.truncated = m.truncated;
    info.missingGlyphs = m.missingGlyphs;
    info.alignment = env.multilineTextAlignment;
    info.language = env.language;
    info.direction = env.layoutDirection;
    if (probing_ == 0) info.source = origin.source;
    info.room = maxWidth;
    info.lineLimit = env.lineLimit;
    info.requestedFontSize = font.size;
    info.minimumFontSize = font.size * minimumScale;
    return n;
  }

  // A text cut at its size, shrunk to the largest size at which it fits, but not below the
  // minimum; still cut at the minimum when it does not fit there either.
  FittedText shrunk(const std::string& string, const Font& font, double maxWidth,
                    const EnvironmentValues& env, double minimumScale) {
    auto at = [&](double scale) {
      Font f = font;
      f.size = font.size * scale;
      return measure(string, f, maxWidth, env.lineLimit, env.language);
    };
    FittedText best{at(minimumScale), minimumScale};
    if (best.measurement.truncated) return best;
    double low = minimumScale, high = 1;
    auto tryScale = [&](double scale) {
      TextMeasurement m = at(scale);
      if (m.truncated) {
        high = scale;
      } else {
        low = scale;
        best = {std::move(m), scale};
      }
    };
    if (*env.lineLimit == 1) {
      // One line scales with the font: start from the width ratio.
      double natural = measure(string, font, std::nullopt, 1, env.language).size.width;
      double guess = std::floor(maxWidth / natural * 1000) / 1000;
      if (guess > low && guess < high) tryScale(guess);
    }
    while (high - low > 0.005) tryScale((low + high) / 2);
    return best;
  }

  LayoutNode label(const LabelNode& l, ProposedSize p, const EnvironmentValues& env) {
    Font font = env.font.value_or(Font::body());
    double icon = font.size;
    ProposedSize titleOffer = p;
    if (p.width) titleOffer.width = std::max(0.0, minus(*p.width, icon + kLabelIconSpacing));
    LayoutNode title = text(l.title, false, titleOffer, env);
    LayoutNode image = leaf("Image", {icon, std::max(icon, title.frame.height)});
    image.systemImage = l.systemImage;
    image.color = foreground(env);
    image.accentGroup = env.accentGroup;
    image.accentedRendering = env.accentedRenderingMode;
    double height = std::max(image.frame.height, title.frame.height);
    LayoutNode n = leaf("Label", {icon + kLabelIconSpacing + title.frame.width, height});
    place(image, 0, (height - image.frame.height) / 2);
    place(title, icon + kLabelIconSpacing, (height - title.frame.height) / 2);
    n.children.push_back(std::move(image));
    n.children.push_back(std::move(title));
    mirrorIfRightToLeft(n, env);
    return n;
  }

  static LayoutNode image(const std::string& systemName, const EnvironmentValues& env) {
    double side = env.font.value_or(Font::body()).size;
    LayoutNode n = leaf("Image", {side, side});
    n.systemImage = systemName;
    n.color = foreground(env);
    n.accentGroup = env.accentGroup;
    n.accentedRendering = env.accentedRenderingMode;
    return n;
  }

  static std::optional<double> clampOffer(std::optional<double> offer, std::optional<double> min,
                                          std::optional<double> max) {
    if (!offer) return offer;
    double v = *offer;
    if (max) v = std::min(v, *max);
    if (min) v = std::max(v, *min);
    return v;
  }

  static double frameLength(std::optional<double> offer, double child, std::optional<double> min,
                            std::optional<double> max) {
    double r = child;
    if (!offer) {
      if (max) r = std::min(r, *max);
      if (min) r = std::max(r, *min);
      return r;
    }
    if (max) r = std::min(*max, std::max(*offer, r));
    if (min) r = std::max(*min, std::min(*offer, r));
    return r;
  }

  static int index(HorizontalAlignment a) { return static_cast<int>(a); }
  static int index(VerticalAlignment a) { return static_cast<int>(a); }

  LayoutNode framed(LayoutNode child, Size size, Alignment alignment,
                    const EnvironmentValues& env) {
    LayoutNode n = leaf("Frame", size);
    place(child, aligned(index(alignment.horizontal), size.width, child.frame.width),
          aligned(index(alignment.vertical), size.height, child.frame.height));
    n.children.push_back(std::move(child));
    mirrorIfRightToLeft(n, env);
    return n;
  }

  LayoutNode flexibleFrame(const FlexibleFrameNode& f, ProposedSize p,
                           const EnvironmentValues& env) {
    const FlexibleFrame& fr = f.frame;
    ProposedSize offer{p.width ? p.width : fr.idealWidth, p.height ? p.height : fr.idealHeight};
    ProposedSize childOffer{clampOffer(offer.width, fr.minWidth, fr.maxWidth),
                            clampOffer(offer.height, fr.minHeight, fr.maxHeight)};
    LayoutNode child = layout(f.content, childOffer, env);
    Size size{frameLength(offer.width, child.frame.width, fr.minWidth, fr.maxWidth),
              frameLength(offer.height, child.frame.height, fr.minHeight, fr.maxHeight)};
    return framed(std::move(child), size, fr.alignment, env);
  }

  LayoutNode fixedFrame(const FixedFrameNode& f, ProposedSize p, const EnvironmentValues& env) {
    ProposedSize childOffer{f.frame.width ? f.frame.width : p.width,
                            f.frame.height ? f.frame.height : p.height};
    LayoutNode child = layout(f.content, childOffer, env);
    Size size{f.frame.width.value_or(child.frame.width),
              f.frame.height.value_or(child.frame.height)};
    return framed(std::move(child), size, f.frame.alignment, env);
  }

  LayoutNode padding(const PaddingNode& pad, ProposedSize p, const EnvironmentValues& env) {
    const EdgeInsets& in = pad.insets;
    auto shrink = [](std::optional<double> offer, double by) -> std::optional<double> {
      if (!offer) return offer;
      return std::max(0.0, minus(*offer, by));
    };
    LayoutNode child = layout(
        pad.content,
        {shrink(p.width, in.leading + in.trailing), shrink(p.height, in.top + in.bottom)}, env);
    LayoutNode n = leaf("Padding", {child.frame.width + in.leading + in.trailing,
                                    child.frame.height + in.top + in.bottom});
    place(child, in.leading, in.top);
    n.children.push_back(std::move(child));
    mirrorIfRightToLeft(n, env);
    return n;
  }

  const LayoutContext& context_;
  std::map<TextKey, TextMeasurement> cache_;
  std::map<std::string, std::string> resolved_;                 // localized keys and their texts
  std::map<std::pair<std::string, bool>, TextOrigin> origins_;  // of texts
  std::vector<std::unique_ptr<View>> built_;
  int probing_ = 0;  // > 0 while measuring flexibility
};

void inspectInto(const View& view, const EnvironmentValues& env, ViewTraits& traits) {
  std::visit(Overloaded{
                 [&](const StackNode& s) {
                   for (const View& c : s.children) inspectInto(c, env, traits);
                 },
                 [&](const GroupNode& g) {
                   for (const View& c : g.children) inspectInto(c, env, traits);
                 },
                 [&](const EnvironmentReaderNode& r) { inspectInto(r.build(env), env, traits); },
                 [&](const ContainerBackgroundNode& c) {
                   traits.usesContainerBackground = true;
                   inspectInto(c.content, env, traits);
                 },
                 [&](const WidgetURLNode& w) {
                   if (!traits.widgetURL) traits.widgetURL = w.url;
                   inspectInto(w.content, env, traits);
                 },
                 [&](const auto& node) {
                   if constexpr (requires {
                                   { node.content } -> std::convertible_to<const View&>;
                                 })
                     inspectInto(node.content, env, traits);
                 },
             },
             view.node().value);
}

}  // namespace

ViewTraits inspect(const View& view, const EnvironmentValues& env) {
  ViewTraits traits;
  inspectInto(view, env, traits);
  return traits;
}

LayoutNode layout(const View& view, ProposedSize proposal, const EnvironmentValues& env,
                  const LayoutContext& context) {
  Engine engine(context);
  LayoutNode root = engine.layout(view, proposal, env);
  absolutize(root, 0, 0);
  return root;
}

WidgetLayout layoutWidget(const View& view, Size size, EdgeInsets margins,
                          const EnvironmentValues& env, const LayoutContext& context) {
  Size content{std::max(0.0, size.width - margins.leading - margins.trailing),
               std::max(0.0, size.height - margins.top - margins.bottom)};
  Engine engine(context);
  WidgetLayout result;
  result.size = size;
  result.contentMargins = margins;
  result.root = engine.layout(view, {content.width, content.height}, env);
  absolutize(result.root, margins.leading + (content.width - result.root.frame.width) / 2,
             margins.top + (content.height - result.root.frame.height) / 2);
  return result;
}

std::vector<const LayoutNode*> LayoutNode::findAll(const std::string& wanted) const {
  std::vector<const LayoutNode*> out;
  auto walk = [&](const LayoutNode& n, auto& self) -> void {
    if (n.type == wanted) out.push_back(&n);
    for (const LayoutNode& c : n.children) self(c, self);
  };
  walk(*this, walk);
  return out;
}

const LayoutNode* LayoutNode::find(const std::string& wanted, std::size_t index) const {
  std::vector<const LayoutNode*> all = findAll(wanted);
  return index < all.size() ? all[index] : nullptr;
}

}  // namespace swiftui
