#include "host/system/Appearance.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "host/system/WidgetFraming.h"

namespace host {
namespace {

// `a` moved towards `b` by `share` (0...1), opaque.
uikit::RGBA mix(const uikit::RGBA& a, const uikit::RGBA& b, double share) {
  auto m = [share](double x, double y) { return x + (y - x) * share; };
  return {m(a.red, b.red), m(a.green, b.green), m(a.blue, b.blue), 1};
}

constexpr uikit::RGBA kWhite{1, 1, 1, 1};
constexpr uikit::RGBA kDarkMaterial{28 / 255.0, 28 / 255.0, 30 / 255.0, 1};
constexpr uikit::RGBA kLightMaterial{142 / 255.0, 142 / 255.0, 147 / 255.0, 1};

bool isTinted(Appearance appearance) {
  return appearance == Appearance::tinted || appearance == Appearance::tintedLight;
}

// The wallpaper's average, as the glass's even parts show it.
uikit::RGBA averageOf(const drawing::RenderedImage& image) {
  double r = 0, g = 0, b = 0;
  for (std::uint32_t p : image.pixels) {
    r += (p >> 16 & 0xFF) / 255.0;
    g += (p >> 8 & 0xFF) / 255.0;
    b += (p & 0xFF) / 255.0;
  }
  double n = std::max<double>(1, static_cast<double>(image.pixels.size()));
  return {r / n, g / n, b / n, 1};
}

}  // namespace

swiftui::ColorScheme colorScheme(Appearance appearance) {
  switch (appearance) {
    case Appearance::light:
    case Appearance::tintedLight:
    case Appearance::clearLight:
      return swiftui::ColorScheme::light;
    case Appearance::dark:
    case Appearance::tinted:
    case Appearance::clear:
      break;
  }
  return swiftui::ColorScheme::dark;
}

swiftui::WidgetRenderingMode renderingMode(Appearance appearance) {
  return appearance == Appearance::light || appearance == Appearance::dark
             ? swiftui::WidgetRenderingMode::fullColor
             : swiftui::WidgetRenderingMode::accented;
}

std::optional<os::SystemVersion> firstSystemWith(Appearance appearance) {
  switch (appearance) {
    case Appearance::tinted:
    case Appearance::tintedLight:
      return os::SystemVersion{18, 0, 0};
    case Appearance::clear:
    case Appearance::clearLight:
      return os::SystemVersion{26, 0, 0};
    case Appearance::light:
    case Appearance::dark:
      break;
  }
  return std::nullopt;
}

bool offers(const std::optional<os::SystemVersion>& version, Appearance appearance) {
  auto first = firstSystemWith(appearance);
  return !first || (version && *version >= *first);
}

std::string appearanceUnavailable(Appearance appearance,
                                  const std::optional<os::SystemVersion>& version) {
  auto first = firstSystemWith(appearance);
  return (version ? "iOS " + version->text() : std::string("an unknown system version")) +
         " has no " + (isTinted(appearance) ? "tinted" : "clear") + " home screen" +
         (first ? " (from iOS " + std::to_string(first->major) + ")" : "");
}

HostBackdrop hostBackdrop(Appearance appearance, const HomeScreen& home) {
  const swiftui::ColorScheme scheme = colorScheme(appearance);
  if (renderingMode(appearance) == swiftui::WidgetRenderingMode::fullColor)
    return {widgetBackground(scheme), std::nullopt};
  drawing::AccentedRendering accented;
  uikit::RGBA background;
  if (isTinted(appearance)) {
    // A material washed with the tint; content in a near-white tone, the accent in a light tint.
    background = scheme == swiftui::ColorScheme::dark ? mix(kDarkMaterial, home.tint, 0.25)
                                                      : mix(kLightMaterial, home.tint, 0.45);
    accented.standardTone = mix(kWhite, home.tint, 0.12);
    accented.accentTone = mix(home.tint, kWhite, 0.3);
    accented.backdrop = background;
  } else {
    // Glass over the wallpaper: a dark or light wash; no tint, so both groups are white.
    const uikit::RGBA wash = scheme == swiftui::ColorScheme::dark ? uikit::RGBA{0, 0, 0, 0.45}
                                                                  : uikit::RGBA{1, 1, 1, 0.3};
    accented.standardTone = kWhite;
    accented.accentTone = kWhite;
    accented.wallpaper = home.wallpaper;
    uikit::RGBA under = home.wallpaper ? averageOf(*home.wallpaper) : HomeScreen::kDefaultWallpaper;
    accented.backdrop = mix(under, wash, wash.alpha);
    background = home.wallpaper ? wash : accented.backdrop;
  }
  return {background, std::move(accented)};
}

std::optional<uikit::RGBA> colorFromHex(std::string_view text) {
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  if (text.size() != 6) return std::nullopt;
  int components[3];
  for (int i = 0; i < 3; ++i) {
    int value = 0;
    for (char c : text.substr(static_cast<std::size_t>(i) * 2, 2)) {
      int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                  : c >= 'a' && c <= 'f'                      ? c - 'a' + 10
                  : c >= 'A' && c <= 'F'                      ? c - 'A' + 10
                                                              : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + digit;
    }
    components[i] = value;
  }
  return uikit::RGBA{components[0] / 255.0, components[1] / 255.0, components[2] / 255.0, 1};
}

drawing::RenderedImage blurredWallpaper(const drawing::RenderedImage& wallpaper) {
  constexpr int kLongest = 24;
  drawing::RenderedImage out;
  if (!wallpaper.whole()) return out;
  const double shrink = static_cast<double>(kLongest) / std::max(wallpaper.width, wallpaper.height);
  out.width = std::clamp(static_cast<int>(std::lround(wallpaper.width * shrink)), 1, kLongest);
  out.height = std::clamp(static_cast<int>(std::lround(wallpaper.height * shrink)), 1, kLongest);
  const std::size_t cells = static_cast<std::size_t>(out.width) * out.height;
  std::vector<double> sums(cells * 3, 0);
  std::vector<std::size_t> counts(cells, 0);
  for (int y = 0; y < wallpaper.height; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * out.height / wallpaper.height;
    for (int x = 0; x < wallpaper.width; ++x) {
      const std::size_t cell =
          row * out.width + static_cast<std::size_t>(x) * out.width / wallpaper.width;
      // Premultiplied: a transparent pixel counts as black, as over a black screen.
      std::uint32_t p = wallpaper.pixels[static_cast<std::size_t>(y) * wallpaper.width + x];
      sums[cell * 3] += p >> 16 & 0xFF;
      sums[cell * 3 + 1] += p >> 8 & 0xFF;
      sums[cell * 3 + 2] += p & 0xFF;
      ++counts[cell];
    }
  }
  out.pixels.resize(cells);
  for (std::size_t i = 0; i < cells; ++i) {
    double n = std::max<double>(1, static_cast<double>(counts[i]));
    auto c = [&](int k) { return static_cast<std::uint32_t>(std::lround(sums[i * 3 + k] / n)); };
    out.pixels[i] = 0xFF000000u | c(0) << 16 | c(1) << 8 | c(2);
  }
  return out;
}

}  // namespace host
