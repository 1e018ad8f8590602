// links: tamsa_summary_data
// The summary data path as the host drives it, with nothing cached: loading the entry from the
// sample container, and localized lookups with and without a recorded language.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "shared/LocalizedWidgetString.h"
#include "summary/data/SummaryLoader.h"

namespace {

device::Device deviceFor(const std::string& container, std::vector<std::string> languages) {
  device::Device d;
  d.fileSystem = os::posixFileSystem();
  d.clock = foundation::systemClock();
  d.appGroupContainer = container;
  d.mainBundle = *foundation::Bundle::atPath(d.fileSystem, TAMSA_RESOURCES_DIR, languages);
  return d;
}

// A container whose store records a language, beside the sample's.
std::string containerWithLanguage(const std::string& language) {
  auto dir = std::filesystem::temp_directory_path() / ("tamsa-bench-" + language);
  std::filesystem::create_directories(dir / "Library/Preferences");
  std::ofstream(dir / "Library/Preferences/group.com.tamsaledger.app.plist")
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
         "<key>widget_language</key><string>"
      << language << "</string></dict></plist>";
  return dir.string();
}

void BM_LoadSummaryEntry(benchmark::State& state) {
  auto d = deviceFor(TAMSA_SAMPLE_CONTAINER, {"en"});
  for (auto _ : state) benchmark::DoNotOptimize(tamsa::loadSummaryEntry(d));
}
BENCHMARK(BM_LoadSummaryEntry)->Unit(benchmark::kMicrosecond);

void BM_LocalizedWidgetStringNoOverride(benchmark::State& state) {
  auto d = deviceFor(TAMSA_SAMPLE_CONTAINER, {"en"});
  for (auto _ : state) benchmark::DoNotOptimize(tamsa::localizedWidgetString(d, "widget_balance"));
}
BENCHMARK(BM_LocalizedWidgetStringNoOverride)->Unit(benchmark::kMicrosecond);

void BM_LocalizedWidgetStringWithOverride(benchmark::State& state) {
  auto d = deviceFor(containerWithLanguage("ja"), {"en"});
  for (auto _ : state) benchmark::DoNotOptimize(tamsa::localizedWidgetString(d, "widget_balance"));
}
BENCHMARK(BM_LocalizedWidgetStringWithOverride)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
