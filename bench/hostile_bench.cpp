// links: tamsa_summary_data
// Every hostile input of tests/data/hostile (and a 50 MB table made here) read the way the
// extension reads it: a suite file through the loader, a string table through the lookup. Reports
// the time per reading and, as peak_bytes, the most heap the reading held at once above what was
// held before it: damage must never make a reading slow or large.
//
// The heap is measured by wrapping glibc's malloc family in this program; the counters are the
// program's only shared state and are touched with atomics.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/os/MemoryFileSystem.h"
#include "shared/LocalizedWidgetString.h"
#include "summary/data/SummaryLoader.h"

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);
}

namespace {

std::atomic<long> liveBytes{0};
std::atomic<long> peakBytes{0};

void* counted(void* p) {
  if (p) {
    long now = liveBytes.fetch_add(static_cast<long>(malloc_usable_size(p))) +
               static_cast<long>(malloc_usable_size(p));
    long peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
  }
  return p;
}

void uncount(void* p) {
  if (p) liveBytes.fetch_sub(static_cast<long>(malloc_usable_size(p)));
}

}  // namespace

extern "C" {
void* malloc(std::size_t n) {
  return counted(__libc_malloc(n));
}
void* calloc(std::size_t n, std::size_t size) {
  return counted(__libc_calloc(n, size));
}
void* realloc(void* p, std::size_t n) {
  uncount(p);
  return counted(__libc_realloc(p, n));
}
void* memalign(std::size_t alignment, std::size_t n) {
  return counted(__libc_memalign(alignment, n));
}
void* aligned_alloc(std::size_t alignment, std::size_t n) {
  return memalign(alignment, n);
}
int posix_memalign(void** out, std::size_t alignment, std::size_t n) {
  void* p = memalign(alignment, n);
  if (!p) return 12;  // ENOMEM
  *out = p;
  return 0;
}
void free(void* p) {
  uncount(p);
  __libc_free(p);
}
}

namespace {

const char* kBundle = "/bundle";
const char* kSuite = "/container/Library/Preferences/group.com.tamsaledger.app.plist";

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

device::Device deviceWith(const std::string& suite, const std::string* germanTable) {
  auto fs = std::make_shared<os::MemoryFileSystem>();
  fs->addFile(std::string(kBundle) + "/en.lproj/Localizable.strings",
              "\"widget_income\" = \"Income\";\n\"widget_period_month\" = \"This Month\";\n");
  if (germanTable)
    fs->addFile(std::string(kBundle) + "/de.lproj/Localizable.strings", *germanTable);
  fs->addDirectory("/container");
  fs->addFile(kSuite, suite);
  device::Device d;
  d.fileSystem = fs;
  d.clock = std::make_shared<foundation::FixedClock>(foundation::Date{1767258000});
  d.appGroupContainer = "/container";
  d.mainBundle = *foundation::Bundle::atPath(fs, kBundle, {"en"});
  return d;
}

// Runs one reading per iteration and reports its peak heap above the heap held before it.
template <class Read>
void measure(benchmark::State& state, Read read) {
  long extra = 0;
  for (auto _ : state) {
    long before = liveBytes.load();
    peakBytes.store(before);
    read();
    extra = std::max(extra, peakBytes.load() - before);
  }
  state.counters["peak_bytes"] = static_cast<double>(extra);
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path dir =
      std::filesystem::path(TAMSA_RESOURCES_DIR) / ".." / "tests" / "data" / "hostile";
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    if (e.path().extension() != ".py") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  for (const auto& path : files) {
    const std::string name = path.filename().string();
    const std::string bytes = readFile(path);
    if (name.starts_with("store-")) {
      benchmark::RegisterBenchmark(("Hostile/" + name).c_str(), [bytes](benchmark::State& state) {
        const device::Device d = deviceWith(bytes, nullptr);
        measure(state, [&] { benchmark::DoNotOptimize(tamsa::loadSummaryEntry(d)); });
      });
    } else {
      benchmark::RegisterBenchmark(("Hostile/" + name).c_str(), [bytes](benchmark::State& state) {
        const device::Device d = deviceWith(
            "<plist><dict><key>widget_language</key><string>de</string></dict></plist>", &bytes);
        measure(state, [&] {
          benchmark::DoNotOptimize(tamsa::localizedWidgetString(d, "widget_income"));
        });
      });
    }
  }
  benchmark::RegisterBenchmark(
      "Hostile/table-50MB.strings (made here)", [](benchmark::State& state) {
        std::string table;
        const std::string line = "\"widget_income\" = \"Einnahmen\";\n";
        while (table.size() < (50u << 20)) table += line;
        const device::Device d = deviceWith(
            "<plist><dict><key>widget_language</key><string>de</string></dict></plist>", &table);
        measure(state, [&] {
          benchmark::DoNotOptimize(tamsa::localizedWidgetString(d, "widget_income"));
        });
      });
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
