// Runs the widget host program as a user would, capturing what it prints and its exit status.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct ProgramResult {
  int status = -1;
  std::string out, err;
};

// The words that run the built tamsa-widgets with the arguments, and the environment variables
// (NAME=VALUE) added to a cleaned environment: env -i NAME=VALUE... tamsa-widgets ARGS...
std::vector<std::string> widgetsCommand(const std::vector<std::string>& args,
                                        const std::vector<std::string>& environment = {});

// Runs widgetsCommand and waits for it.
ProgramResult runWidgets(const std::vector<std::string>& args,
                         const std::vector<std::string>& environment = {});

// The whole content of the file; empty when it cannot be read.
std::string readFile(const std::string& path);

// A fresh directory under the system's temporary directory, removed with its content at exit.
std::string makeTempDirectory();

}  // namespace testing_support
