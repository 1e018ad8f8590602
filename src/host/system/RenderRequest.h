// The renderer's entry point for the command line: one view, drawn in a family on a device, to
// the bytes of a picture and its layout report. Writing them anywhere is the caller's business.
//
//   host::RenderRequest request{.view = content, .family = swiftui::WidgetFamily::systemMedium,
//                                 .appearance = swiftui::ColorScheme::dark,
//                                 .systemVersion = os::SystemVersion{17, 4, 0},
//                                 .pictureFormat = drawing::PictureFormat::png,
//                                 .language = "zh-Hans"};
//   host::RenderResult result = host::renderWidget(request);
//   if (!result.ok()) std::cerr << result.error->message << '\n';
//   else save(result.picture), save(result.report.dump(2));
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "drawing/PangoTextMeasurer.h"
#include "drawing/WidgetRenderer.h"
#include "host/system/HostDevice.h"
#include "host/system/WidgetFraming.h"

namespace host {

struct RenderRequest {
  swiftui::View view;
  swiftui::WidgetFamily family = swiftui::WidgetFamily::systemSmall;
  swiftui::ColorScheme appearance = swiftui::ColorScheme::light;
  // Not known: treated as a system older than iOS 17.
  std::optional<os::SystemVersion> systemVersion{};
  std::string device = defaultDeviceName;
  double scale = 3;  // PNG pixels per point, 1 to 3
  // Not given: no picture is encoded.
  std::optional<drawing::PictureFormat> pictureFormat{};
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
  std::optional<drawing::RenderError> error;
  std::optional<drawing::WidgetScene> scene;     // set when the view could be laid out
  nlohmann::json report;                         // the layout report, set with the scene
  std::string picture;                           // the encoded picture, when a format was asked for
  std::optional<drawing::RenderedImage> pixels;  // a PNG's pixels

  bool ok() const { return !error; }
};

RenderResult renderWidget(const RenderRequest& request, const drawing::PangoTextMeasurer& measurer);
// The same with a measurer of its own (building one loads the font configuration).
RenderResult renderWidget(const RenderRequest& request);

}  // namespace host
