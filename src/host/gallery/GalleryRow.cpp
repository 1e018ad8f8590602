// The gallery command's row: the matrix's options, the folder, and how the work is spread.
#include <CLI/CLI.hpp>
#include <charconv>
#include <memory>

#include "host/gallery/GalleryCommands.h"

namespace host {
namespace {

struct GalleryWords {
  MatrixWords matrix;
  std::optional<std::string> output, shard, jobs;
  std::vector<std::string> merge;
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

Result<GalleryOptions> readGallery(const GalleryWords& w) {
  GalleryOptions g;
  auto matrix = readMatrixOptions(w.matrix);
  if (!matrix) return matrix.failure();
  g.matrix = std::move(*matrix);
  if (!w.output || w.output->empty()) return Failure::usage("-o: an empty path names no file");
  g.output = *w.output;
  if (w.shard) {
    g.shard = shardFromWord(*w.shard);
    if (!g.shard)
      return Failure::usage("--shard: '" + *w.shard +
                            "' is not K/N with 1 <= K <= N (such as 2/4)");
  }
  auto jobs = jobsFromWord(w.jobs);
  if (!jobs) return jobs.failure();
  g.jobs = *jobs;
  for (const auto& dir : w.merge) g.merge.emplace_back(dir);
  if (!g.merge.empty() && (g.shard || g.matrix.scenarios))
    return Failure::usage("--merge joins finished shards; it takes no --shard or --scenario");
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
                 "matrix over machines");
  sub.add_option("--jobs", w->jobs, "Cells drawn at once (default: one per core)");
  sub.add_option("--merge", w->merge, "Join these shard galleries into the -o folder")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->expected(1, -1);
  return [w, &global]() -> Result<ReadOptions<GalleryOptions>> {
    GalleryWords words = *w;
    words.matrix.device = global;
    auto o = readGallery(words);
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
      "sheets, an index page and findings: every text shrunk, cut or with missing glyphs, and "
      "every layout overflowing its margins",
      declareGallery, runGalleryCommand)};
}

}  // namespace host
