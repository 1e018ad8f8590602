// How the home screen shows widgets. Light and dark draw them in full colour. From iOS 18 a
// person can pick a tinted home screen and from iOS 26 a clear one, each light or dark: the host
// then draws every widget in the accented rendering mode, over its own backdrop (a tinted
// material, or glass over the wallpaper) instead of the system background, each view keeping only
// its shape in its group's tone. The rules are the platform's; the tones, the backdrops and the
// glass are our approximation (the platform does not document them).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "drawing/WidgetScene.h"
#include "platform/os/SystemVersion.h"
#include "platform/swiftui/Color.h"
#include "platform/swiftui/EnvironmentValues.h"

namespace host {

enum class Appearance { light, dark, tinted, tintedLight, clear, clearLight };

// The colours the widget's own colours resolve in: tinted and clear are dark unless named light.
swiftui::ColorScheme colorScheme(Appearance appearance);
swiftui::WidgetRenderingMode renderingMode(Appearance appearance);
// The first system version that offers it; nothing: every version.
std::optional<os::SystemVersion> firstSystemWith(Appearance appearance);
// Whether a phone of that version offers it; an unknown version offers light and dark only.
bool offers(const std::optional<os::SystemVersion>& version, Appearance appearance);
// "iOS 17.4 has no tinted home screen (from iOS 18)": why a version does not offer it.
std::string appearanceUnavailable(Appearance appearance,
                                  const std::optional<os::SystemVersion>& version);

// The person's choices behind the accented looks: the tint, and the wallpaper behind clear glass.
struct HomeScreen {
  static constexpr uikit::RGBA kDefaultTint{1.0, 149 / 255.0, 0.0, 1};  // #FF9500
  static constexpr uikit::RGBA kDefaultWallpaper{46 / 255.0, 92 / 255.0, 138 / 255.0,
                                                 1};  // #2E5C8A
  uikit::RGBA tint = kDefaultTint;
  // Already blurred (blurredWallpaper); nothing: the plain default colour.
  std::shared_ptr<const drawing::RenderedImage> wallpaper{};
  bool operator==(const HomeScreen&) const = default;
};

// What the host paints under a widget's content in an appearance: the system background in light
// and dark, else the accented mode's backdrop (the background then being its wash) and tones.
struct HostBackdrop {
  uikit::RGBA background;
  std::optional<drawing::AccentedRendering> accented;
};
HostBackdrop hostBackdrop(Appearance appearance, const HomeScreen& home);

// "#FF9500" or "FF9500" as an opaque colour; nothing for anything else.
std::optional<uikit::RGBA> colorFromHex(std::string_view text);

// A wallpaper as the glass shows it: scaled down to a few dozen pixels, which the painter's
// smooth scaling turns into a blur, and made opaque.
drawing::RenderedImage blurredWallpaper(const drawing::RenderedImage& wallpaper);

}  // namespace host
