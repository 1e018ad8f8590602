// Files a command writes, each whole or not at all. stage() writes the bytes to a temporary file
// beside the destination; commit() renames every staged file over its destination, so a reader
// sees the old file or the new one, never a part. Whatever is not committed (the command failed
// on the way) is removed when the object goes, and a commit that fails half-way removes the files
// it had newly put in place, so a failed command leaves nothing new behind.
// Parent folders are never made: a destination in a missing folder is a failure. Not thread-safe.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/Result.h"
#include "platform/os/WritableFileSystem.h"

namespace host {

class OutputFiles {
 public:
  explicit OutputFiles(os::WritableFileSystem& files) : files_(files) {}
  OutputFiles(const OutputFiles&) = delete;
  OutputFiles& operator=(const OutputFiles&) = delete;
  ~OutputFiles();

  Outcome stage(const std::filesystem::path& destination, std::string_view bytes,
                os::WriteSettings settings = {});
  Outcome commit();

 private:
  struct Staged {
    std::string destination, temporary;
    os::Durability durability;
  };
  os::WritableFileSystem& files_;
  std::vector<Staged> staged_;
};

// Writes one file whole or not at all.
Outcome writeFileAtomically(os::WritableFileSystem& files, const std::filesystem::path& destination,
                            std::string_view bytes, os::WriteSettings settings = {});

// Writes to standard output and flushes; a failure names the reason (a closed pipe, a full disk).
Outcome writeStandardOutput(std::string_view text);

// The name of a temporary beside destination: "." + its name + ".tmp-XXXXXX", the X's for mkstemp
// or mkdtemp to fill.
std::string temporaryPattern(const std::filesystem::path& destination);

// True iff name is one that temporaryPattern(destination) can become: our own temporaries only.
bool isTemporaryOf(std::string_view name, const std::filesystem::path& destination);

}  // namespace host
