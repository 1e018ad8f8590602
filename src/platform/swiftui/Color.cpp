#include "platform/swiftui/Color.h"

namespace swiftui {

Color Color::primary() {
  return Color(uikit::UIColor::withDynamicProvider([](const uikit::UITraitCollection& traits) {
    return traits.userInterfaceStyle == uikit::UIUserInterfaceStyle::dark
               ? uikit::UIColor::withRed(1, 1, 1, 1)
               : uikit::UIColor::withRed(0, 0, 0, 1);
  }));
}

uikit::RGBA Color::resolved(ColorScheme scheme) const {
  uikit::UITraitCollection traits{scheme == ColorScheme::dark ? uikit::UIUserInterfaceStyle::dark
                                                              : uikit::UIUserInterfaceStyle::light};
  return color_.resolved(traits);
}

}  // namespace swiftui
