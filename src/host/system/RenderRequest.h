// The renderer's entry point for the command line: one view, drawn in a family on a device, to
// a picture: its bytes, a PNG's pixels and the layout tree of what it shows. Writing them
// anywhere is the caller's business.
//
//   host::RenderRequest request{.view = content, .family = swiftui::WidgetFamily::systemMedium,
//                                 .appearance = host::Appearance::dark,
//                                 .systemVersion = os::SystemVersion{17, 4, 0},
//                                 .pictureFormat = drawing::PictureFormat::png,
//                                 .language = "zh-Hans"};
//   auto drawn = host::renderWidget(request);
//   if (!drawn) std::cerr << drawn.failure().message << '\n';
//   else save(drawn->picture.bytes), save(drawing::layoutReport(drawn->picture.tree).dump(2));
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/Result.h"
#include "drawing/PangoTextMeasurer.h"
#include "drawing/WidgetRenderer.h"
#include "host/system/HostDevice.h"
#include "host/system/WidgetFraming.h"

namespace host {

struct RenderRequest {
  swiftui::View view;
  swiftui::WidgetFamily family = swiftui::WidgetFamily::systemSmall;
  Appearance appearance = Appearance::light;
  HomeScreen homeScreen{};
  // Not known: treated as a system older than iOS 17.
  std::optional<os::SystemVersion> systemVersion{};
  std::string device = defaultDeviceName;
  double scale = 3;  // PNG pixels per point, 1 to 3
  drawing::PictureFormat pictureFormat = drawing::PictureFormat::png;
  // Resolves Text(LocalizedStringKey) keys in the system's language; not set: the key itself.
  std::function<std::string(const std::string&)> localizedKeyResolver{};
  // The language of the view's texts (BCP 47, e.g. "zh-Hans", "ja"), which picks the glyph forms
  // of Han characters; not given: none (Japanese forms).
  std::optional<std::string> language{};
  // Where each text came from, by the string shown and whether it was resolved from a key: its
  // table's language (nothing: `language`) and entry. Not set: from no table.
  swiftui::TextOrigins textOrigin{};
};

struct RenderedWidget {
  drawing::WidgetScene scene;  // what was laid out
  drawing::Picture picture;
};

base::Result<RenderedWidget> renderWidget(const RenderRequest& request,
                                          const drawing::PangoTextMeasurer& measurer);
// The same with a measurer of its own (building one loads the font configuration).
base::Result<RenderedWidget> renderWidget(const RenderRequest& request);

}  // namespace host
