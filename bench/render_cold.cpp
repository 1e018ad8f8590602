// A cold run of the renderer, for comparing with pango_floor: builds the medium summary-shaped
// tree, lays it out and draws it at 3x to the PNG named on the command line, then exits.
//   /usr/bin/time -v build/bench/render_cold out.png
#include <iostream>

#include "../tests/host/render/SampleWidgets.h"
#include "host/render/RenderRequest.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: render_cold OUT.png [OUT.json]\n";
    return 2;
  }
  using namespace render;
  RenderRequest request{.view = samples::hosted(samples::mediumSummary(), true),
                        .family = swiftui::WidgetFamily::systemMedium,
                        .systemVersion = os::SystemVersion{17, 0, 0},
                        .scale = 3,
                        .outputPath = argv[1]};
  if (argc > 2) request.layoutPath = argv[2];
  RenderResult result = renderWidget(request);
  if (!result.ok()) {
    std::cerr << result.error->message << '\n';
    return 1;
  }
  return 0;
}
