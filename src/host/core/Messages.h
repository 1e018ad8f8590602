// What reaches the user on standard error besides the output: a failure that ends the command,
// and warnings that do not (an absent suite shown empty, another writer waited for). Commands
// hand warnings to the session's sink as values; every message is printed here, after the
// program's name, with control bytes from arguments or data shown escaped, never sent to the
// terminal.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace host {

struct Warning {
  // named: after the program's name; line: as it stands, such as "FILE:LINE: error: ...", which
  // terminals and editors read as a place to go to.
  enum class Form { named, line };
  std::string message;
  Form form = Form::named;
};

// Takes a command's warnings as they come: printed at once by the program, kept by a test.
using WarningSink = std::function<void(const Warning&)>;

// Writes "tamsa-widgets: <message>" and a newline to standard error, control bytes (and DEL)
// written as \xNN.
void printMessage(std::string_view message);
// The program's sink: prints the warning as it comes, escaped the same way.
void printWarning(const Warning& warning);

}  // namespace host
