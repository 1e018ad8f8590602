// Chooses the reader by the list's first bytes: binary lists start with "bplist", anything else is
// tried as XML.
#include "platform/foundation/PropertyList.h"

namespace foundation {

std::optional<PlistValue> readPropertyList(std::string_view bytes) {
  if (bytes.substr(0, 6) == "bplist") return readBinaryPropertyList(bytes);
  return readXmlPropertyList(bytes);
}

}  // namespace foundation
