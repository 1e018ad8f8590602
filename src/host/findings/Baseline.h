// A baseline: the findings someone accepted, each with the reason they gave, matched by cause
// (rule, table, key, language; widget, family, system; colours and appearance), never by line or
// position, so moving lines of a table does not make an old finding new.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "host/core/Result.h"
#include "host/findings/Findings.h"
#include "platform/os/WritableFileSystem.h"

namespace host {

struct BaselineEntry {
  FindingCause cause;
  std::string reason;
  std::string message;  // the finding's line when accepted, for the reader of the file
};

struct Baseline {
  std::vector<BaselineEntry> accepted;
};

// The baseline in a file; a failure naming the file and what is wrong when it is missing, too
// large, not JSON, or an entry is malformed.
Result<Baseline> readBaseline(const os::WritableFileSystem& files,
                              const std::filesystem::path& path);

// Marks each finding the baseline accepts with the reason given for it.
void applyBaseline(std::vector<Finding>& findings, const Baseline& baseline);

// The baseline that accepts every one of `findings`: reasons kept for those already accepted,
// `reason` for the others; what no longer happens is dropped. Ordered by cause, so the file
// changes only where the findings do.
std::string baselineJson(const std::vector<Finding>& findings, const Baseline& previous,
                         const std::string& reason);

}  // namespace host
