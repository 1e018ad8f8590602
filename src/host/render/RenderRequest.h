// The renderer's entry point for the command line: one view, drawn in a family on a device, to
// the bytes of a picture and its layout report. Writing them anywhere is the caller's business.
//
//   render::RenderRequest request{.view = content, .family = swiftui::WidgetFamily::systemMedium,
//                                 .appearance = swiftui::ColorScheme::dark,
//                                 .systemVersion = os::SystemVersion{17, 4, 0},
//                                 .pictureFormat = render::PictureFormat::png,
//                                 .language = "zh-Hans"};
//   render::RenderResult result = render::renderWidget(request);
//   if (!result.ok()) std::cerr << result.error->message << '\n';
//   else save(result.picture), save(result.report.dump(2));
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "host/render/HostDevice.h"
#include "host/render/PangoTextMeasurer.h"
#include "host/render/WidgetRenderer.h"
#include "host/render/WidgetScene.h"

namespace render {

struct RenderRequest {
  swiftui::View view;
  swiftui::WidgetFamily family = swiftui::WidgetFamily::systemSmall;
  swiftui::ColorScheme appearance = swiftui::ColorScheme::light;
  // Not known: treated as a system older than iOS 17.
  std::optional<os::SystemVersion> systemVersion{};
  std::string device = defaultDeviceName;
  double scale = 3;  // PNG pixels per point, 1 to 3
  // Not given: no picture is encoded.
  std::optional<PictureFormat> pictureFormat{};
  // Resolves Text(LocalizedStringKey) keys in the system's language; not set: the key itself.
  std::function<std::string(const std::string&)> localizedKeyResolver{};
  // The language of the view's texts (BCP 47, e.g. "zh-Hans", "ja"), which picks the glyph forms
  // of Han characters; not given: none (Japanese forms).
  std::optional<std::string> language{};
  // The language of each text that came from a string table, by the string shown and whether it
  // was resolved from a key; nothing, or not set: `language`.
  std::function<std::optional<std::string>(const std::string&, bool)> textLanguage{};
};

struct RenderResult {
  std::optional<RenderError> error;
  std::optional<WidgetScene> scene;     // set when the view could be laid out
  nlohmann::json report;                // the layout report, set with the scene
  std::string picture;                  // the encoded picture, when a format was asked for
  std::optional<RenderedImage> pixels;  // a PNG's pixels

  bool ok() const { return !error; }
};

RenderResult renderWidget(const RenderRequest& request, const PangoTextMeasurer& measurer);
// The same with a measurer of its own (building one loads the font configuration).
RenderResult renderWidget(const RenderRequest& request);

}  // namespace render
