// snapshot record DIR: draws the matrix (as the gallery does) into DIR, a picture and its layout
// report per cell, with a manifest of how they were made. snapshot verify DIR: draws the same
// cells afresh and compares them with the recording, by meaning first (the layout reports) and by
// pixels only where the meanings agree; exit 3 when a cell changed, came or went. --update
// re-records just those; -o writes a report a person can open from disk.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/core/CommandLine.h"
#include "host/core/HostSession.h"

namespace host {

struct SnapshotRecordOptions {
  std::filesystem::path folder;
  MatrixOptions matrix;
  // The matrix options as given ("scenario" -> "all"), kept in the manifest so that verify draws
  // the same cells.
  std::vector<std::pair<std::string, std::string>> words;
  std::optional<int> jobs;  // nothing: one per core
};

struct SnapshotVerifyOptions {
  std::filesystem::path folder;
  std::optional<std::filesystem::path> report;  // -o: the report's folder
  bool update = false;                          // re-record what changed
  std::optional<int> jobs;
};

// "snapshot record" and "snapshot verify": subcommands of the row "snapshot".
std::vector<CommandRow> snapshotCommands();

Outcome runSnapshotRecord(const HostSession& session, const SnapshotRecordOptions& options);
Outcome runSnapshotVerify(const HostSession& session, const SnapshotVerifyOptions& options);

// The matrix a manifest's words describe, read as the command line reads them.
Result<MatrixOptions> readRecordedMatrix(
    const std::vector<std::pair<std::string, std::string>>& words);

}  // namespace host
