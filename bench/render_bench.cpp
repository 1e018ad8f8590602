// links: tamsa_render
// Laying out and drawing a tree of the medium summary widget's shape, in process, at 3x.
//   build/bench/render_bench --benchmark_min_time=1
#include <benchmark/benchmark.h>

#include <filesystem>

#include "../tests/host/render/SampleWidgets.h"
#include "host/render/WidgetRenderer.h"

namespace {

using namespace render;

const PangoTextMeasurer& measurer() {
  static const PangoTextMeasurer shared;
  return shared;
}

SceneRequest mediumRequest() {
  return {samples::hosted(samples::mediumSummary(), true),
          swiftui::WidgetFamily::systemMedium,
          swiftui::ColorScheme::light,
          os::SystemVersion{17, 0, 0},
          "",
          3,
          {}};
}

void BM_BuildMediumTree(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(samples::hosted(samples::mediumSummary(), true));
}
BENCHMARK(BM_BuildMediumTree);

void BM_LayoutMedium(benchmark::State& state) {
  for (auto _ : state) {
    auto scene = composeScene(mediumRequest(), measurer());
    benchmark::DoNotOptimize(scene);
  }
}
BENCHMARK(BM_LayoutMedium);

void BM_LayoutAndDrawMediumPng(benchmark::State& state) {
  std::string path = (std::filesystem::temp_directory_path() / "tamsa_render_bench.png").string();
  for (auto _ : state) {
    auto scene = std::get<WidgetScene>(composeScene(mediumRequest(), measurer()));
    if (writePicture(scene, path, 3, measurer())) state.SkipWithError("cannot write");
  }
}
BENCHMARK(BM_LayoutAndDrawMediumPng)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
