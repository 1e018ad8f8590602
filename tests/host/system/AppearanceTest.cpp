// The tinted and clear home screens: what views show in the accented mode, read from the pixels,
// and which systems offer which look.
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/PngCodec.h"
#include "drawing/RenderTesting.h"
#include "drawing/WidgetRenderer.h"
#include "host/core/InputFiles.h"
#include "host/core/Names.h"
#include "host/system/WidgetFraming.h"
#include "platform/os/MemoryWritableFileSystem.h"

namespace host {
namespace {

using namespace swiftui;
using os::SystemVersion;

Result<drawing::WidgetScene> compose(View view, Appearance appearance,
                                     std::optional<SystemVersion> version, HomeScreen home = {}) {
  SceneRequest request;
  request.view = view.containerBackground(BackgroundStyle{}, ContainerBackgroundPlacement::widget);
  request.appearance = appearance;
  request.homeScreen = std::move(home);
  request.systemVersion = version;
  return composeScene(request, drawing::testing::measurer());
}

drawing::RenderedImage::Pixel pixel(const uikit::RGBA& c) {
  auto byte = [](double v) { return static_cast<int>(std::lround(v * 255)); };
  return {byte(c.red), byte(c.green), byte(c.blue), 255};
}

bool near(const drawing::RenderedImage::Pixel& a, const drawing::RenderedImage::Pixel& b) {
  return std::abs(a.red - b.red) <= 1 && std::abs(a.green - b.green) <= 1 &&
         std::abs(a.blue - b.blue) <= 1 && a.alpha == b.alpha;
}

// Two red squares in a row (the default group, one marked accentable) and a red star left in full
// colour, and under them a square as wide as the view says the rendering mode is.
View squares() {
  auto square = [](Color c) {
    return Rectangle().fill(c).frame(FixedFrame{.width = 30, .height = 30});
  };
  const Color red = Color::sRGB(1, 0, 0);
  return VStack(
             HorizontalAlignment::leading, 0,
             {HStack(VerticalAlignment::top, 0,
                     {square(red), square(red).widgetAccentable(),
                      Image("star.fill")
                          .font(Font::system(30))
                          .foregroundColor(red)
                          .widgetAccentedRenderingMode(WidgetAccentedRenderingMode::fullColor)}),
              EnvironmentReader([](const EnvironmentValues& env) {
                bool accented = env.widgetRenderingMode == WidgetRenderingMode::accented;
                return Rectangle().frame(FixedFrame{.width = accented ? 60.0 : 10.0, .height = 30});
              })})
      .frame(FlexibleFrame{.maxWidth = 1e9,
                           .maxHeight = 1e9,
                           .alignment = {HorizontalAlignment::leading, VerticalAlignment::top}});
}

TEST(AccentedLook, ViewsKeepTheirShapeInTheirGroupsToneOverTheBackdrop) {
  const HomeScreen home{.tint = *colorFromHex("#30D158")};
  auto scene = compose(squares(), Appearance::tinted, SystemVersion{18, 0, 0}, home);
  ASSERT_TRUE(scene) << scene.failure().message;
  const HostBackdrop expected = hostBackdrop(Appearance::tinted, home);
  ASSERT_TRUE(expected.accented);
  drawing::RenderedImage image = drawing::renderImage(*scene, 1, drawing::testing::measurer());

  // Points 16 in from the corner, past the margins: the squares start there.
  const auto standard = image.at(16 + 15, 16 + 15), accent = image.at(16 + 45, 16 + 15),
             backdrop = image.at(120, 120);
  auto redIn = [](const drawing::RenderedImage& picture, int from, int to) {
    for (int y = 16; y < 46; ++y)
      for (int x = from; x < to; ++x)
        if (near(picture.at(x, y), {255, 0, 0, 255})) return true;
    return false;
  };
  EXPECT_TRUE(near(standard, pixel(expected.accented->standardTone)));
  EXPECT_TRUE(near(accent, pixel(expected.accented->accentTone)));
  EXPECT_TRUE(redIn(image, 76, 106));  // the image left in full colour
  EXPECT_FALSE(redIn(image, 16, 76));
  EXPECT_TRUE(near(backdrop, pixel(expected.background)));
  // The default tone is light, the accent is the tint's green, and neither is the red asked for.
  EXPECT_GT(standard.red + standard.green + standard.blue, 3 * 220);
  EXPECT_GT(accent.green, accent.red + 40);
  EXPECT_FALSE(near(accent, standard));
  // The view read the mode from its environment.
  EXPECT_EQ(scene->layout.root.findAll("Rectangle").back()->frame.width, 60);

  // In light and dark nothing is toned.
  auto light = compose(squares(), Appearance::light, SystemVersion{18, 0, 0}, home);
  drawing::RenderedImage full = drawing::renderImage(*light, 1, drawing::testing::measurer());
  EXPECT_TRUE(near(full.at(16 + 45, 16 + 15), (drawing::RenderedImage::Pixel{255, 0, 0, 255})));
  EXPECT_EQ(light->layout.root.findAll("Rectangle").back()->frame.width, 10);
}

TEST(AccentedLook, ALookIsRefusedOfASystemThatLacksIt) {
  struct Case {
    Appearance appearance;
    std::optional<SystemVersion> version;
    bool offered;
  };
  for (const Case& c : {Case{Appearance::tinted, SystemVersion{17, 9, 9}, false},
                        Case{Appearance::tintedLight, std::nullopt, false},
                        Case{Appearance::tinted, SystemVersion{18, 0, 0}, true},
                        Case{Appearance::clear, SystemVersion{25, 9, 0}, false},
                        Case{Appearance::clearLight, SystemVersion{26, 0, 0}, true},
                        Case{Appearance::dark, std::nullopt, true}}) {
    auto scene = compose(Text("x"), c.appearance, c.version);
    EXPECT_EQ(bool(scene), c.offered) << kAppearanceNames.nameOf(c.appearance);
    if (!scene) {
      EXPECT_EQ(scene.failure().status, base::ExitStatus::usage);
      EXPECT_NE(scene.failure().message.find(c.appearance == Appearance::clear
                                                 ? "no clear home screen (from iOS 26)"
                                                 : "no tinted home screen (from iOS 18)"),
                std::string::npos)
          << scene.failure().message;
    }
  }
}

TEST(AccentedLook, AWallpaperIsReadAsAPngAndBlurredToAFewPixels) {
  os::MemoryWritableFileSystem files;
  files.addFile("/w/not.png", "GIF89a");
  LookOptions look;
  look.wallpaper = "/w/not.png";
  auto refused = loadHomeScreen(files, look);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.failure().message.find("--wallpaper: /w/not.png"), std::string::npos);

  // Wide and one row high: left half green, right half transparent (seen as black).
  drawing::RenderedImage wide{1000, 1, std::vector<std::uint32_t>(1000, 0)};
  std::fill(wide.pixels.begin(), wide.pixels.begin() + 500, 0xFF80FF20u);
  auto png = drawing::encodePng(wide);
  ASSERT_TRUE(png);
  files.addFile("/w/wide.png", *png);
  look.wallpaper = "/w/wide.png";
  auto home = loadHomeScreen(files, look);
  ASSERT_TRUE(home) << home.failure().message;
  const drawing::RenderedImage& blurred = *home->wallpaper;
  ASSERT_EQ(blurred.width, 24);
  ASSERT_EQ(blurred.height, 1);
  EXPECT_EQ(blurred.at(0, 0), (drawing::RenderedImage::Pixel{128, 255, 32, 255}));
  EXPECT_EQ(blurred.at(23, 0), (drawing::RenderedImage::Pixel{0, 0, 0, 255}));
  EXPECT_TRUE(blurredWallpaper(drawing::RenderedImage{0, 5, {}}).pixels.empty());

  // Texts are read against the wallpaper's average under the wash: darker in clear, lighter in
  // clear-light, in every channel.
  const HostBackdrop dark = hostBackdrop(Appearance::clear, *home);
  const HostBackdrop light = hostBackdrop(Appearance::clearLight, *home);
  EXPECT_EQ(pixel(dark.accented->backdrop), (drawing::RenderedImage::Pixel{35, 70, 9, 255}));
  const uikit::RGBA average{64 / 255.0, 127.5 / 255.0, 16 / 255.0, 1};
  EXPECT_GT(light.accented->backdrop.red, average.red);
  EXPECT_GT(light.accented->backdrop.green, average.green);
  EXPECT_GT(light.accented->backdrop.blue, average.blue);
  EXPECT_LT(dark.background.alpha, 1);  // a wash over the wallpaper, which shows through
}

}  // namespace
}  // namespace host
