// links: tamsa_summary_views
// Cost of the summary texts per call: amounts reuse the one process-wide formatter; the update time
// builds a fresh ICU short-time formatter on every call (with and without an hour-cycle rewrite).
#include <benchmark/benchmark.h>

#include "summary/views/SummaryFormatting.h"

namespace {

tamsa::TamsaSummaryEntry sampleEntry() {
  tamsa::TamsaSummaryEntry entry;
  entry.currencySymbol = "$";
  entry.lastUpdate = foundation::Date{1700000000};
  return entry;
}

void BM_AmountText(benchmark::State& state) {
  const tamsa::TamsaSummaryEntry entry = sampleEntry();
  double value = -1234567.891;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tamsa::amountText(entry, value));
    value += 0.37;
  }
}
BENCHMARK(BM_AmountText);

void BM_LastUpdateText(benchmark::State& state) {
  const tamsa::TamsaSummaryEntry entry = sampleEntry();
  device::Device device;
  device.localeIdentifier = state.range(0) == 0 ? "en_US" : "de_DE";
  device.timeZoneIdentifier = "America/New_York";
  device.hourCycle =
      state.range(1) == 0 ? device::HourCycle::localeDefault : device::HourCycle::h12;
  for (auto _ : state) benchmark::DoNotOptimize(tamsa::lastUpdateText(entry, device));
}
// {locale en_US | de_DE} x {locale default | forced 12-hour}
BENCHMARK(BM_LastUpdateText)->Args({0, 0})->Args({1, 0})->Args({1, 1});

void BM_LastUpdateTextAbsent(benchmark::State& state) {
  tamsa::TamsaSummaryEntry entry = sampleEntry();
  entry.lastUpdate.reset();
  const device::Device device;
  for (auto _ : state) benchmark::DoNotOptimize(tamsa::lastUpdateText(entry, device));
}
BENCHMARK(BM_LastUpdateTextAbsent);

}  // namespace

BENCHMARK_MAIN();
