#include "host/DefaultPaths.h"

namespace host {

std::string shippedResourcesDirectory() {
  return TAMSA_RESOURCES_DIR;
}
std::string sampleContainerDirectory() {
  return TAMSA_SAMPLE_CONTAINER;
}

}  // namespace host
