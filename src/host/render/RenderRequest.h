// The renderer's entry point for the command line: one view, drawn in a family on a device, to
// a picture file and optionally a layout report beside it.
//
//   render::RenderRequest request{.view = content, .family = swiftui::WidgetFamily::systemMedium,
//                                 .appearance = swiftui::ColorScheme::dark,
//                                 .systemVersion = os::SystemVersion{17, 4, 0},
//                                 .outputPath = "medium.png", .layoutPath = "medium.json"};
//   render::RenderResult result = render::renderWidget(request);
//   if (!result.ok()) std::cerr << result.error->message << '\n';
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "host/render/HostDevice.h"
#include "host/render/PangoTextMeasurer.h"
#include "host/render/WidgetScene.h"

namespace render {

struct RenderRequest {
  swiftui::View view;
  swiftui::WidgetFamily family = swiftui::WidgetFamily::systemSmall;
  swiftui::ColorScheme appearance = swiftui::ColorScheme::light;
  // Not known: treated as a system older than iOS 17.
  std::optional<os::SystemVersion> systemVersion{};
  std::string device = defaultDeviceName;
  double scale = 3;          // PNG pixels per point, 1 to 3
  std::string outputPath{};  // ".png", ".svg" or ".pdf"; empty: no picture
  std::optional<std::string> layoutPath{};
  // Resolves Text(LocalizedStringKey) keys in the system's language; not set: the key itself.
  std::function<std::string(const std::string&)> localizedKeyResolver{};
};

struct RenderResult {
  std::optional<RenderError> error;
  std::optional<WidgetScene> scene;  // set when the view could be laid out
  nlohmann::json report;             // the layout report, also when no file was asked for

  bool ok() const { return !error; }
};

RenderResult renderWidget(const RenderRequest& request, const PangoTextMeasurer& measurer);
// The same with a measurer of its own (building one loads the font configuration).
RenderResult renderWidget(const RenderRequest& request);

}  // namespace render
