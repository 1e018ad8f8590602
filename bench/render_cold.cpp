// A cold run of the renderer, for comparing with pango_floor: builds the medium summary widget's
// real views for the sample entry with the shipped English captions, lays them out and draws them
// at 3x to the PNG named on the command line (and the layout report to the JSON), then exits.
//   /usr/bin/time -v build/bench/render_cold out.png
#include <fstream>
#include <iostream>

#include "drawing/LayoutReport.h"
#include "host/system/RenderRequest.h"
#include "summary/data/SummaryLoader.h"
#include "summary/views/TamsaWidgetEntryView.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: render_cold OUT.png [OUT.json]\n";
    return 2;
  }
  device::Device d;
  d.fileSystem = os::posixFileSystem();
  d.clock = foundation::systemClock();
  d.mainBundle = *foundation::Bundle::atPath(d.fileSystem, TAMSA_RESOURCES_DIR, {"en"});
  d.systemVersion = os::SystemVersion{17, 0, 0};
  host::RenderRequest request{
      .view = tamsa::summaryWidgetContent(d, tamsa::makeSampleSummaryEntry(*d.clock)),
      .family = swiftui::WidgetFamily::systemMedium,
      .systemVersion = d.systemVersion,
      .scale = 3,
      .pictureFormat = drawing::PictureFormat::png,
      .language = "en"};
  auto result = host::renderWidget(request);
  if (!result) {
    std::cerr << result.failure().message << '\n';
    return 1;
  }
  std::ofstream(argv[1], std::ios::binary) << result->picture.bytes;
  if (argc > 2)
    std::ofstream(argv[2]) << drawing::layoutReport(result->picture.tree).dump(2) << '\n';
  return 0;
}
