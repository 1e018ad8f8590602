// The table of the host's commands: every command family's rows, collected in the order --help
// lists them. A command is added by adding a row in its folder.
#pragma once

#include <vector>

#include "host/core/CommandLine.h"

namespace host {

std::vector<CommandRow> hostCommands();

}  // namespace host
