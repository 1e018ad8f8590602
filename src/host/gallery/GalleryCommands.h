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

namespace host {

struct GalleryOptions {
  MatrixOptions matrix;
  std::filesystem::path output;  // the gallery's folder
  std::optional<Shard> shard;
  std::optional<int> jobs;                   // nothing: one per core
  std::vector<std::filesystem::path> merge;  // shard galleries to join
};

std::vector<CommandRow> galleryCommands();

// The shard `--shard` names: "K/N", or "auto" for the part of the matrix this job of a parallel CI
// run draws, from the CI system's variables (the whole matrix when none are set). A usage failure
// for anything else, or for variables that name no job.
Result<Shard> shardFor(const std::string& word, const Getenv& getenv);

Outcome runGalleryCommand(const HostSession& session, const GalleryOptions& options);

}  // namespace host
