// Where the host finds what the repository ships when no option names another place.
#pragma once

#include <string>

namespace host {

// The extension's bundle resources: one "<language>.lproj" directory per localization.
std::string shippedResourcesDirectory();
// The sample app-group container, holding a signed-in store.
std::string sampleContainerDirectory();

}  // namespace host
