// links: tamsa_entry tamsa_host_system
// The whole render of the summary widget as the host does it, in process: the timeline's entry
// loaded from the sample container, its views built, laid out and drawn at 3x to pixels, in the
// small and in the medium family.
//   build/bench/widget_bench --benchmark_min_time=1
#include <benchmark/benchmark.h>

#include "drawing/WidgetRenderer.h"
#include "host/system/WidgetFraming.h"
#include "summary/data/SummaryLoader.h"
#include "summary/views/TamsaWidgetEntryView.h"

namespace {

device::Device sampleDevice() {
  device::Device d;
  d.fileSystem = os::posixFileSystem();
  d.clock = foundation::systemClock();
  d.appGroupContainer = TAMSA_SAMPLE_CONTAINER;
  d.mainBundle = *foundation::Bundle::atPath(d.fileSystem, TAMSA_RESOURCES_DIR, {"en"});
  d.systemVersion = os::SystemVersion{18, 0, 0};
  return d;
}

void renderSummary(benchmark::State& state, swiftui::WidgetFamily family) {
  const device::Device d = sampleDevice();
  const drawing::PangoTextMeasurer measurer(3);
  for (auto _ : state) {
    auto view = tamsa::summaryWidgetContent(d, tamsa::loadSummaryEntry(d));
    host::SceneRequest request{view, family, host::Appearance::dark, {}, d.systemVersion, "",
                               3,    {}};
    auto scene = host::composeScene(request, measurer);
    auto image = drawing::renderImage(*scene, 3, measurer);
    benchmark::DoNotOptimize(image);
  }
}

void BM_RenderSummarySmall(benchmark::State& state) {
  renderSummary(state, swiftui::WidgetFamily::systemSmall);
}
BENCHMARK(BM_RenderSummarySmall)->Unit(benchmark::kMillisecond);

void BM_RenderSummaryMedium(benchmark::State& state) {
  renderSummary(state, swiftui::WidgetFamily::systemMedium);
}
BENCHMARK(BM_RenderSummaryMedium)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
