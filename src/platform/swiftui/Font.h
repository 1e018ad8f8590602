// Font: the system font at a size, weight and design (Font.system(size:weight:design:)).
#pragma once

namespace swiftui {

struct Font {
  enum class Weight { regular, medium, bold };
  // `default_` is the framework's `.default` design, the only one the widgets use.
  enum class Design { default_ };

  double size = 17;
  Weight weight = Weight::regular;
  Design design = Design::default_;

  bool operator==(const Font&) const = default;

  static constexpr Font system(double size, Weight weight = Weight::regular,
                               Design design = Design::default_) {
    return Font{size, weight, design};
  }
  // The framework's body style, what a text shows without a font of its own.
  static constexpr Font body() { return system(17); }
};

// "regular", "medium" or "bold".
const char* weightName(Font::Weight weight);

}  // namespace swiftui
