// links: tamsa_summary_views tamsa_host_system
// The medium summary widget as the host renders it, in process: the real views of an entry, laid
// out and drawn at 2x to a PNG in memory. With the sample entry and English captions; with a 1 MB
// wallet name, period label and currency symbol; and with those and a string table whose captions
// are 1 MB each. Measuring looks at a bounded start of every text, so the long renders should
// stay within twice the sample's time.
//   build/bench/render_bench --benchmark_min_time=1
#include <benchmark/benchmark.h>

#include "drawing/WidgetRenderer.h"
#include "host/system/WidgetFraming.h"
#include "platform/os/MemoryFileSystem.h"
#include "summary/data/SummaryLoader.h"
#include "summary/views/TamsaWidgetEntryView.h"

namespace {

constexpr std::size_t kLong = 1 << 20;

std::string longText(const std::string& piece) {
  std::string s;
  while (s.size() < kLong) s += piece;
  return s;
}

// A device whose English table gives each of the widget's captions.
device::Device deviceWithCaptions(const std::string& income, const std::string& expense,
                                  const std::string& balance, const std::string& updatedAt) {
  auto fs = std::make_shared<os::MemoryFileSystem>();
  fs->addFile("/bundle/en.lproj/Localizable.strings",
              "\"widget_income\" = \"" + income + "\";\n\"widget_expense\" = \"" + expense +
                  "\";\n\"widget_balance\" = \"" + balance + "\";\n\"widget_updated_at\" = \"" +
                  updatedAt + "\";\n");
  device::Device d;
  d.fileSystem = fs;
  d.clock = std::make_shared<foundation::FixedClock>(foundation::Date{1767258000});
  d.mainBundle = *foundation::Bundle::atPath(d.fileSystem, "/bundle", {"en"});
  d.systemVersion = os::SystemVersion{18, 0, 0};
  return d;
}

void renderMedium(benchmark::State& state, const device::Device& d,
                  const tamsa::TamsaSummaryEntry& entry) {
  const drawing::PangoTextMeasurer measurer(2);
  for (auto _ : state) {
    host::SceneRequest request{tamsa::summaryWidgetContent(d, entry),
                               swiftui::WidgetFamily::systemMedium,
                               host::Appearance::light,
                               {},
                               d.systemVersion,
                               "",
                               2,
                               {},
                               "en"};
    auto scene = *host::composeScene(request, measurer);
    auto png = drawing::drawPicture(scene, drawing::PictureFormat::png, 2, measurer);
    benchmark::DoNotOptimize(png);
  }
}

void BM_RenderMediumSample(benchmark::State& state) {
  device::Device d = deviceWithCaptions("Income", "Expense", "Balance", "Updated");
  renderMedium(state, d, tamsa::makeSampleSummaryEntry(*d.clock));
}
BENCHMARK(BM_RenderMediumSample)->Unit(benchmark::kMillisecond);

tamsa::TamsaSummaryEntry megabyteEntry(const device::Device& d) {
  tamsa::TamsaSummaryEntry entry = tamsa::makeSampleSummaryEntry(*d.clock);
  entry.walletLabel = longText("Household and travel wallet ");
  entry.periodLabel = longText("Custom period ");
  entry.currencySymbol = longText("€");
  return entry;
}

// The entry's texts only: what the renderer itself spends on long texts.
void BM_RenderMediumMegabyteEntryTexts(benchmark::State& state) {
  device::Device d = deviceWithCaptions("Income", "Expense", "Balance", "Updated");
  renderMedium(state, d, megabyteEntry(d));
}
BENCHMARK(BM_RenderMediumMegabyteEntryTexts)->Unit(benchmark::kMillisecond);

// The same with 1 MB captions, which each lookup reads from the 4 MB table again.
void BM_RenderMediumMegabyteTextsAndCaptions(benchmark::State& state) {
  device::Device d = deviceWithCaptions(longText("Einnahmen "), longText("Ausgaben "),
                                        longText("Saldo "), longText("Aktualisiert "));
  renderMedium(state, d, megabyteEntry(d));
}
BENCHMARK(BM_RenderMediumMegabyteTextsAndCaptions)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
