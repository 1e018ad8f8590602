// Reading the command line: global options may stand anywhere, a repeated option's last value
// wins, and every value is checked and converted here, once, so that a mistake is reported
// before anything runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/core/HostOptions.h"
#include "host/core/Result.h"

namespace host {

struct CommandLine {
  std::optional<HostOptions> run;  // nothing: only `text` is to be printed (--help, --version)
  std::string text;
};

Result<CommandLine> parseCommandLine(const std::vector<std::string>& args);

// The items of a comma list ("de-AT, en"), blanks around them dropped, empty ones left out.
std::vector<std::string> splitList(const std::string& list);

// The program's version, as --version prints it.
std::string programVersion();

}  // namespace host
