// gallery: every declared widget in every family and appearance, and every control, drawn in
// every language asked for (else every language of the bundle), with a contact sheet per
// language, an index page, and findings.json listing what a designer or translator must look at.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "host/core/CommandLine.h"
#include "host/core/DeviceSetup.h"
#include "host/core/HostSession.h"
#include "host/findings/Severity.h"

namespace host {

struct GalleryOptions {
  MatrixOptions matrix;
  std::filesystem::path output;  // the gallery's folder
  std::optional<Shard> shard;
  std::optional<int> jobs;                   // nothing: one per core
  std::vector<std::filesystem::path> merge;  // shard galleries to join
  // Findings accepted before: those not in it are new. With `updateBaseline`, the file is
  // written afresh from this run, new entries given `reason`.
  std::optional<std::filesystem::path> baseline;
  bool updateBaseline = false;
  std::string reason;
  // New findings this grave or graver end the run with the "found problems" status; nothing:
  // errors when a baseline is given, else the run only reports.
  std::optional<Severity> failOn;
  std::optional<std::filesystem::path> sarif;  // the findings as a SARIF log
};

std::vector<CommandRow> galleryCommands();

// The shard `--shard` names: "K/N", or "auto" for the part of the matrix this job of a parallel CI
// run draws, from the CI system's variables (the whole matrix when none are set). A usage failure
// for anything else, or for variables that name no job.
Result<Shard> shardFor(const std::string& word, const Getenv& getenv);

Outcome runGalleryCommand(const HostSession& session, const GalleryOptions& options);

}  // namespace host
