#include "platform/uikit/UIColor.h"

namespace uikit {

RGBA UIColor::resolved(const UITraitCollection& traits) const {
  if (!provider_) return fixed_;
  UIColor inner = (*provider_)(traits);
  // A provider returning another adaptive colour resolves it against the same traits.
  return inner.provider_ ? inner.resolved(traits) : inner.fixed_;
}

UIColor UIColor::systemBackgroundColor() {
  return withDynamicProvider([](const UITraitCollection& t) {
    if (t.userInterfaceStyle == UIUserInterfaceStyle::dark)
      return withRed(28 / 255.0, 28 / 255.0, 30 / 255.0, 1);
    return withRed(1, 1, 1, 1);
  });
}

}  // namespace uikit
