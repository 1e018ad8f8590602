// Plain geometry in points: sizes, points, rectangles, edge insets, edge sets and alignments, as
// the view framework names them. Values only.
#pragma once

#include <limits>

namespace swiftui {

// The "as much as there is" length of flexible frames.
inline constexpr double infinity = std::numeric_limits<double>::infinity();

struct Size {
  double width = 0;
  double height = 0;
  bool operator==(const Size&) const = default;
};

struct Point {
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
  bool operator==(const Rect&) const = default;

  double maxX() const { return x + width; }
  double maxY() const { return y + height; }
};

struct EdgeInsets {
  double top = 0;
  double leading = 0;
  double bottom = 0;
  double trailing = 0;
  bool operator==(const EdgeInsets&) const = default;
};

// Edge.Set: a set of edges, combinable with |.
enum class EdgeSet : unsigned {
  none = 0,
  top = 1,
  leading = 2,
  bottom = 4,
  trailing = 8,
  vertical = top | bottom,
  horizontal = leading | trailing,
  all = top | leading | bottom | trailing,
};

constexpr EdgeSet operator|(EdgeSet a, EdgeSet b) {
  return static_cast<EdgeSet>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool contains(EdgeSet set, EdgeSet edge) {
  return (static_cast<unsigned>(set) & static_cast<unsigned>(edge)) == static_cast<unsigned>(edge);
}

// Insets of `length` on each edge of `edges`, zero elsewhere.
constexpr EdgeInsets insets(EdgeSet edges, double length) {
  return EdgeInsets{contains(edges, EdgeSet::top) ? length : 0,
                    contains(edges, EdgeSet::leading) ? length : 0,
                    contains(edges, EdgeSet::bottom) ? length : 0,
                    contains(edges, EdgeSet::trailing) ? length : 0};
}

enum class HorizontalAlignment { leading, center, trailing };
enum class VerticalAlignment { top, center, bottom };

struct Alignment {
  HorizontalAlignment horizontal = HorizontalAlignment::center;
  VerticalAlignment vertical = VerticalAlignment::center;
  bool operator==(const Alignment&) const = default;

  static constexpr Alignment center() { return {}; }
  static constexpr Alignment leading() { return {HorizontalAlignment::leading}; }
  static constexpr Alignment trailing() { return {HorizontalAlignment::trailing}; }
  static constexpr Alignment top() { return {HorizontalAlignment::center, VerticalAlignment::top}; }
  static constexpr Alignment bottom() {
    return {HorizontalAlignment::center, VerticalAlignment::bottom};
  }
  static constexpr Alignment topLeading() {
    return {HorizontalAlignment::leading, VerticalAlignment::top};
  }
  static constexpr Alignment bottomTrailing() {
    return {HorizontalAlignment::trailing, VerticalAlignment::bottom};
  }
};

enum class TextAlignment { leading, center, trailing };

// The outline a background fills (background(_:in:)).
enum class ShapeKind { rectangle, circle };

}  // namespace swiftui
