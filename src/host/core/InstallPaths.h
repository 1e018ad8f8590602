// Where the program finds what it ships: the bundle's string tables, the sample app-group
// container, the named scenarios and the preview server's module. Installed, they lie in
// ../share/tamsa-widgets and ../lib/tamsa-widgets beside the program's bin/ folder; run from a
// build tree, in the source tree it was built from, and the module beside the program.
#pragma once

#include <string>

namespace host {

struct InstallPaths {
  std::string resources;        // one "<language>.lproj" folder per localization
  std::string sampleContainer;  // an app-group container holding a signed-in store
  std::string scenarios;        // one "<name>.json" per named state of the app
  std::string serveModule;      // the preview server, loaded by `serve` alone

  // For the running program (found through /proc/self/exe).
  static InstallPaths ofThisProgram();
};

}  // namespace host
