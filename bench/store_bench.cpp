// links: tamsa_foundation
// The shared store and string tables as the extension uses them, nothing cached: opening the suite
// and reading its eleven keys from a small binary list on disk, and one localized lookup in a
// 20-key table. Files live in a fresh temporary directory.
#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"

namespace {

namespace fs = std::filesystem;

const char* kSuite = "group.app.example";

fs::path temporaryDirectory() {
  std::string pattern = (fs::temp_directory_path() / "tamsa-store-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  return pattern;
}

void writeFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string smallSuite() {
  plist_t d = plist_new_dict();
  plist_dict_set_item(d, "widget_auth_status", plist_new_string("logged_in"));
  plist_dict_set_item(d, "widget_currency_symbol", plist_new_string("$"));
  plist_dict_set_item(d, "widget_period_type", plist_new_string("month"));
  plist_dict_set_item(d, "widget_wallet_mode", plist_new_string("multi"));
  plist_dict_set_item(d, "widget_wallet_names", plist_new_string("Cash, Bank"));
  plist_dict_set_item(d, "widget_wallet_count", plist_new_string("3"));
  plist_dict_set_item(d, "widget_last_update", plist_new_string("1700000000000"));
  plist_dict_set_item(d, "widget_income", plist_new_real(2500.0));
  plist_dict_set_item(d, "widget_expense", plist_new_real(3734.56));
  plist_dict_set_item(d, "widget_balance", plist_new_real(-1234.56));
  plist_dict_set_item(d, "widget_language", plist_new_string("de"));
  char* bin = nullptr;
  uint32_t length = 0;
  plist_to_bin(d, &bin, &length);
  std::string bytes(bin, length);
  plist_to_bin_free(bin);
  plist_free(d);
  return bytes;
}

void BM_OpenSuiteAndReadElevenKeys(benchmark::State& state) {
  fs::path container = temporaryDirectory();
  writeFile(container / "Library/Preferences" / (std::string(kSuite) + ".plist"), smallSuite());
  auto files = os::posixFileSystem();
  for (auto _ : state) {
    auto store = foundation::UserDefaults::open(*files, container.string(), kSuite);
    for (const char* key : {"widget_auth_status", "widget_currency_symbol", "widget_period_type",
                            "widget_wallet_mode", "widget_wallet_names", "widget_wallet_count",
                            "widget_last_update", "widget_language"}) {
      benchmark::DoNotOptimize(store->stringForKey(key));
    }
    for (const char* key : {"widget_income", "widget_expense", "widget_balance"}) {
      benchmark::DoNotOptimize(store->doubleForKey(key));
    }
  }
  fs::remove_all(container);
}
BENCHMARK(BM_OpenSuiteAndReadElevenKeys);

void BM_LocalizedStringForKey(benchmark::State& state) {
  fs::path bundlePath = temporaryDirectory();
  std::string table = "/* Widget texts */\n";
  for (int i = 0; i < 20; ++i) {
    table += "\"widget_key_" + std::to_string(i) + "\" = \"Text number " + std::to_string(i) +
             " \\U2192 done\";\n";
  }
  writeFile(bundlePath / "en.lproj/Localizable.strings", table);
  auto bundle = foundation::Bundle::atPath(os::posixFileSystem(), bundlePath.string(), {"en-US"});
  for (auto _ : state) {
    benchmark::DoNotOptimize(bundle->localizedStringForKey("widget_key_13", ""));
  }
  fs::remove_all(bundlePath);
}
BENCHMARK(BM_LocalizedStringForKey);

}  // namespace

BENCHMARK_MAIN();
