#include "host/system/ControlScene.h"

#include "platform/swiftui/View.h"

namespace host {

namespace {

using namespace swiftui;

constexpr Size kSize{120, 116};
// The title gets the width less 4 points each side; the button sits 8 points from the top.
constexpr EdgeInsets kMargins{8, 4, 4, 4};
constexpr double kButton = 64;  // the round button's diameter
constexpr double kSymbolSize = 36;
constexpr double kTitleGap = 8;
constexpr double kPlatterCornerRadius = 20;

struct ControlPalette {
  Color platter, button, symbol, title;
};

ControlPalette paletteFor(ColorScheme scheme) {
  if (scheme == ColorScheme::dark)
    return {Color::sRGB(0.11, 0.11, 0.118), Color::sRGB(0.23, 0.23, 0.24), Color::sRGB(1, 1, 1),
            Color::sRGB(1, 1, 1)};
  return {Color::sRGB(0.898, 0.898, 0.918), Color::sRGB(1, 1, 1), Color::sRGB(0.11, 0.11, 0.12),
          Color::sRGB(0.11, 0.11, 0.12)};
}

View controlView(const ControlSceneRequest& request, const ControlPalette& palette) {
  View button = Image(request.systemImage)
                    .font(Font::system(kSymbolSize, Font::Weight::medium))
                    .foregroundColor(palette.symbol)
                    .frame(FixedFrame{.width = kButton, .height = kButton})
                    .background(palette.button, ShapeKind::circle);
  View title = Text(request.title)
                   .font(Font::system(12, Font::Weight::medium))
                   .foregroundColor(palette.title)
                   .lineLimit(2)
                   .multilineTextAlignment(TextAlignment::center);
  return VStack(HorizontalAlignment::center, kTitleGap, {button, title})
      .frame(FlexibleFrame{.maxWidth = infinity,
                           .maxHeight = infinity,
                           .alignment = {HorizontalAlignment::center, VerticalAlignment::top}});
}

}  // namespace

drawing::WidgetScene composeControlScene(const ControlSceneRequest& request,
                                         const swiftui::TextMeasurer& measurer) {
  ControlPalette palette = paletteFor(request.appearance);
  EnvironmentValues env;
  env.colorScheme = request.appearance;
  env.language = request.language;
  env.layoutDirection = swiftui::layoutDirectionFor(request.language);
  LayoutContext context{measurer, {}, request.pixelScale, request.textOrigin};
  drawing::WidgetScene scene;
  scene.layout = layoutWidget(controlView(request, palette), kSize, kMargins, env, context);
  scene.appearance = request.appearance;
  scene.background = palette.platter.resolved(request.appearance);
  scene.cornerRadius = kPlatterCornerRadius;
  return scene;
}

}  // namespace host
