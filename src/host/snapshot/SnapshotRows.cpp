// The rows of `snapshot record DIR` and `snapshot verify DIR`, subcommands of `snapshot`.
#include <CLI/CLI.hpp>
#include <memory>

#include "host/snapshot/SnapshotCommands.h"

namespace host {
namespace {

struct RecordWords {
  std::string folder;
  MatrixWords matrix;
  std::optional<std::string> jobs;
};

struct VerifyWords {
  std::string folder;
  std::optional<std::string> report, jobs;
  bool update = false;
};

Result<SnapshotRecordOptions> readRecord(RecordWords w) {
  if (w.folder.empty()) return Failure::usage("snapshot record: give the snapshots' folder");
  // Snapshots are of named states, fixed everywhere: every shipped one unless some are named.
  if (!w.matrix.scenarios) w.matrix.scenarios = "all";
  SnapshotRecordOptions o;
  o.folder = w.folder;
  auto matrix = readMatrixOptions(w.matrix);
  if (!matrix) return matrix.failure();
  o.matrix = std::move(*matrix);
  o.words = matrixWordList(w.matrix);
  auto jobs = jobsFromWord(w.jobs);
  if (!jobs) return jobs.failure();
  o.jobs = *jobs;
  return o;
}

std::function<Result<ReadOptions<SnapshotRecordOptions>>()> declareRecord(
    CLI::App& sub, const DeviceWords& global) {
  auto w = std::make_shared<RecordWords>();
  sub.add_option("DIR", w->folder, "The snapshots' folder")->required();
  addMatrixOptions(sub, w->matrix, "Named states (comma list; default all)");
  sub.add_option("--jobs", w->jobs, "Cells drawn at once (default: one per core)");
  return [w, &global]() -> Result<ReadOptions<SnapshotRecordOptions>> {
    RecordWords words = *w;
    words.matrix.device = global;
    auto o = readRecord(std::move(words));
    if (!o) return o.failure();
    DeviceOptions device = o->matrix.device;
    return ReadOptions<SnapshotRecordOptions>{std::move(device), std::move(*o)};
  };
}

Result<SnapshotVerifyOptions> readVerify(const VerifyWords& w, const DeviceWords& global) {
  if (w.folder.empty()) return Failure::usage("snapshot verify: give the snapshots' folder");
  auto given = matrixWordList(MatrixWords{global, {}, {}, {}, {}, false});
  if (!given.empty())
    return Failure::usage("snapshot verify: draws the cells its manifest names; --" +
                          given.front().first + " is for snapshot record");
  SnapshotVerifyOptions o;
  o.folder = w.folder;
  if (w.report) {
    if (w.report->empty()) return Failure::usage("-o: an empty path names no file");
    o.report = *w.report;
  }
  o.update = w.update;
  auto jobs = jobsFromWord(w.jobs);
  if (!jobs) return jobs.failure();
  o.jobs = *jobs;
  return o;
}

std::function<Result<ReadOptions<SnapshotVerifyOptions>>()> declareVerify(
    CLI::App& sub, const DeviceWords& global) {
  auto w = std::make_shared<VerifyWords>();
  sub.add_option("DIR", w->folder, "The snapshots' folder")->required();
  sub.add_option("-o,--output", w->report, "Write report.html and report.json here");
  sub.add_flag("--update", w->update, "Re-record the cells that changed, came or went");
  sub.add_option("--jobs", w->jobs, "Cells drawn at once (default: one per core)");
  return [w, &global]() -> Result<ReadOptions<SnapshotVerifyOptions>> {
    auto o = readVerify(*w, global);
    if (!o) return o.failure();
    // The device is the manifest's, set up by verify itself.
    return ReadOptions<SnapshotVerifyOptions>{DeviceOptions{}, std::move(*o)};
  };
}

}  // namespace

std::vector<CommandRow> snapshotCommands() {
  return {
      commandRow<SnapshotRecordOptions>(
          "snapshot record",
          "Draw the matrix (as gallery does) into DIR with a manifest, for later comparison",
          declareRecord, runSnapshotRecord),
      commandRow<SnapshotVerifyOptions>(
          "snapshot verify",
          "Draw the recorded matrix afresh and say what changed (exit 3), by meaning first and "
          "by pixels second",
          declareVerify, runSnapshotVerify),
  };
}

}  // namespace host
