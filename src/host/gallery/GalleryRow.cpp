// The gallery command's row: the matrix's options, the folder, and how the work is spread.
#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <memory>

#include "host/gallery/GalleryCommands.h"

namespace host {
namespace {

struct GalleryWords {
  MatrixWords matrix;
  std::optional<std::string> output, shard, jobs, baseline, reason, failOn, sarif;
  std::vector<std::string> merge;
  bool updateBaseline = false;
};

// "K/N" with 1 <= K <= N.
std::optional<Shard> shardFromWord(const std::string& word) {
  auto slash = word.find('/');
  if (slash == std::string::npos) return std::nullopt;
  int k = 0, n = 0;
  const char* end = word.data() + word.size();
  auto [p1, e1] = std::from_chars(word.data(), word.data() + slash, k);
  auto [p2, e2] = std::from_chars(word.data() + slash + 1, end, n);
  if (e1 != std::errc() || e2 != std::errc() || p1 != word.data() + slash || p2 != end || k < 1 ||
      n < 1 || k > n)
    return std::nullopt;
  return Shard{k, n};
}

// What CI systems that split a job into parallel ones tell each of them: which one it is (from 0
// or from 1) and how many there are.
struct ParallelJobVariables {
  const char *index, *total;
  int first;
};
constexpr ParallelJobVariables kParallelJobs[] = {
    {"CI_NODE_INDEX", "CI_NODE_TOTAL", 1},                          // GitLab, and any CI by hand
    {"CIRCLE_NODE_INDEX", "CIRCLE_NODE_TOTAL", 0},                  // CircleCI
    {"BUILDKITE_PARALLEL_JOB", "BUILDKITE_PARALLEL_JOB_COUNT", 0},  // Buildkite
    {"SEMAPHORE_JOB_INDEX", "SEMAPHORE_JOB_COUNT", 1},              // Semaphore
};

}  // namespace

Result<Shard> shardFor(const std::string& word, const Getenv& getenv) {
  if (word != "auto") {
    auto shard = shardFromWord(word);
    if (!shard)
      return Failure::usage("--shard: '" + word + "' is not K/N with 1 <= K <= N (such as 2/4)");
    return *shard;
  }
  for (const auto& job : kParallelJobs) {
    const char* index = getenv(job.index);
    const char* total = getenv(job.total);
    if (!index || !total) continue;
    auto number = [](const char* name, const char* text) {
      auto n = wholeNumberFromWord(name, text, 0, std::numeric_limits<int>::max() - 1);
      return n ? *n : -1;
    };
    const int k = number(job.index, index) + 1 - job.first, n = number(job.total, total);
    if (n < 1 || k < 1 || k > n)
      return Failure::usage("--shard auto: " + std::string(job.index) + "=" + index + " and " +
                            job.total + "=" + total + " do not name one of the jobs");
    return Shard{k, n};
  }
  return Shard{1, 1};  // not split: the whole matrix
}

namespace {

Result<GalleryOptions> readGallery(const GalleryWords& w, const Getenv& getenv) {
  GalleryOptions g;
  auto matrix = readMatrixOptions(w.matrix);
  if (!matrix) return matrix.failure();
  g.matrix = std::move(*matrix);
  if (!w.output || w.output->empty()) return Failure::usage("-o: an empty path names no file");
  g.output = *w.output;
  if (w.shard) {
    auto shard = shardFor(*w.shard, getenv);
    if (!shard) return shard.failure();
    g.shard = *shard;
  }
  auto jobs = jobsFromWord(w.jobs);
  if (!jobs) return jobs.failure();
  g.jobs = *jobs;
  for (const auto& dir : w.merge) g.merge.emplace_back(dir);
  if (!g.merge.empty() && (g.shard || g.matrix.scenarios))
    return Failure::usage("--merge joins finished shards; it takes no --shard or --scenario");
  auto path =
      [](const char* option,
         const std::optional<std::string>& word) -> Result<std::optional<std::filesystem::path>> {
    if (!word) return std::optional<std::filesystem::path>();
    if (word->empty()) return Failure::usage(std::string(option) + ": an empty path names no file");
    return std::optional<std::filesystem::path>(*word);
  };
  auto baseline = path("--baseline", w.baseline);
  if (!baseline) return baseline.failure();
  auto sarif = path("--sarif", w.sarif);
  if (!sarif) return sarif.failure();
  g.baseline = *baseline;
  g.sarif = *sarif;
  g.updateBaseline = w.updateBaseline;
  if (g.updateBaseline && !g.baseline)
    return Failure::usage("--update-baseline writes the file --baseline names; give it");
  if (w.reason && !g.updateBaseline)
    return Failure::usage("--reason is the reason --update-baseline records; give both");
  g.reason = w.reason.value_or("accepted when the baseline was written");
  if (w.failOn) {
    auto severity = kSeverityNames.valueOf(*w.failOn);
    if (!severity || *severity == Severity::note)
      return Failure::usage("--fail-on: '" + *w.failOn + "' is not error or warning");
    g.failOn = *severity;
  } else if (g.baseline && !g.updateBaseline) {
    g.failOn = Severity::error;
  }
  return g;
}

std::function<Result<ReadOptions<GalleryOptions>>()> declareGallery(CLI::App& sub,
                                                                    const DeviceWords& global) {
  auto w = std::make_shared<GalleryWords>();
  sub.add_option("-o,--output", w->output,
                 "Folder for the pictures (new, empty, or an earlier gallery, which is replaced)")
      ->required();
  addMatrixOptions(sub, w->matrix,
                   "Draw these named states of the app (comma list, or all) instead of the "
                   "container, each into a folder of its own");
  sub.add_option("--shard", w->shard,
                 "Draw only the K-th of N stable parts of the cells (K/N), to spread a large "
                 "matrix over machines; auto: the part this CI job is (CI_NODE_INDEX/"
                 "CI_NODE_TOTAL, CircleCI, Buildkite, Semaphore), the whole when none is set");
  sub.add_option("--jobs", w->jobs, "Cells drawn at once (default: one per core)");
  sub.add_option("--merge", w->merge, "Join these shard galleries into the -o folder")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->expected(1, -1);
  sub.add_option("--baseline", w->baseline,
                 "Findings accepted before (a file --update-baseline wrote): the others are new, "
                 "and a new error ends the run with status 3");
  sub.add_flag("--update-baseline", w->updateBaseline,
               "Write the --baseline file afresh, accepting every finding of this run (reasons "
               "given before are kept)");
  sub.add_option("--reason", w->reason,
                 "With --update-baseline: the reason recorded for findings accepted now");
  sub.add_option("--fail-on", w->failOn,
                 "error (the default with --baseline) or warning: new findings this grave end the "
                 "run with status 3");
  sub.add_option("--sarif", w->sarif,
                 "Also write the findings as a SARIF 2.1.0 log, each at its table's file and line");
  return [w, &global]() -> Result<ReadOptions<GalleryOptions>> {
    GalleryWords words = *w;
    words.matrix.device = global;
    auto o = readGallery(words, [](const char* name) { return std::getenv(name); });
    if (!o) return o.failure();
    DeviceOptions device = o->matrix.device;
    return ReadOptions<GalleryOptions>{std::move(device), std::move(*o)};
  };
}

}  // namespace

std::vector<CommandRow> galleryCommands() {
  return {commandRow<GalleryOptions>(
      "gallery",
      "Draw every widget in every family, appearance and language into a folder, with contact "
      "sheets, an index page and findings, one per cause, with severities: texts cut, shrunk "
      "or with missing glyphs, layouts past their margins or edge, text contrast",
      declareGallery, runGalleryCommand)};
}

}  // namespace host
