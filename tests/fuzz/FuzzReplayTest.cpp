// Replays every committed fuzz input (the starting inputs and every input that ever found a fault)
// through its target, so the documented outcomes are guarded without running a fuzzer.
#include <gtest/gtest.h>

#include <filesystem>

#include "FuzzTargets.h"
#include "support/RunProgram.h"

namespace {

struct Target {
  const char* name;
  void (*run)(std::string_view);
};

const Target kTargets[] = {{"store_binary", tamsa_fuzz::fuzzStoreBinary},
                           {"store_xml", tamsa_fuzz::fuzzStoreXml},
                           {"strings_table", tamsa_fuzz::fuzzStringsTable},
                           {"number_conversions", tamsa_fuzz::fuzzNumberConversions},
                           {"wallet_count_format", tamsa_fuzz::fuzzWalletCountFormat},
                           {"localized_widget_string", tamsa_fuzz::fuzzLocalizedWidgetString}};

// Named in test listings by the target, not by its bytes.
void PrintTo(const Target& t, std::ostream* out) {
  *out << t.name;
}

class FuzzCorpus : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzCorpus, EveryInputGivesItsDocumentedOutcome) {
  std::filesystem::path dir = std::filesystem::path(TAMSA_FUZZ_CORPUS) / GetParam().name;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty()) << dir;
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    GetParam().run(testing_support::readFile(path));
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpus, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
