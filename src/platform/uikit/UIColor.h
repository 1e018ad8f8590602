// Colours as UIKit keeps them: a fixed RGBA value, or an adaptive colour whose provider is called
// with the trait collection every time the colour is resolved (nothing is cached, so a change of
// appearance shows at the next resolution). Values are immutable and safe to share across threads.
#pragma once

#include <functional>
#include <memory>

namespace uikit {

enum class UIUserInterfaceStyle : int { unspecified = 0, light = 1, dark = 2 };

struct UITraitCollection {
  UIUserInterfaceStyle userInterfaceStyle = UIUserInterfaceStyle::unspecified;
};

// Components in the extended sRGB range as given; opacity in alpha.
struct RGBA {
  double red = 0, green = 0, blue = 0, alpha = 1;
  bool operator==(const RGBA&) const = default;
};

class UIColor {
 public:
  using Provider = std::function<UIColor(const UITraitCollection&)>;

  static UIColor withRed(double red, double green, double blue, double alpha) {
    return UIColor(RGBA{red, green, blue, alpha});
  }
  // initWithDynamicProvider: the provider must return a colour that resolves without traits of
  // its own (a fixed colour), and may be called from any thread.
  static UIColor withDynamicProvider(Provider provider) {
    UIColor c;
    c.provider_ = std::make_shared<const Provider>(std::move(provider));
    return c;
  }
  // The platform's systemBackgroundColor: white in light (and unspecified), #1C1C1E in dark as
  // widgets show it.
  static UIColor systemBackgroundColor();

  bool isDynamic() const { return provider_ != nullptr; }
  RGBA resolved(const UITraitCollection& traits) const;

 private:
  UIColor() = default;
  explicit UIColor(RGBA fixed) : fixed_(fixed) {}

  RGBA fixed_;
  std::shared_ptr<const Provider> provider_;
};

}  // namespace uikit
