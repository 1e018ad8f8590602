// The suite file as an XML property list: text that the screening must refuse never reaches
// libplist, and the loader's outcome follows.
#include <regex>

#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Unicode.h"

namespace tamsa_fuzz {

void fuzzStoreXml(std::string_view data) {
  auto list = foundation::readXmlPropertyList(data);
  static const std::regex entity("<!entity", std::regex::icase);
  const std::string text(data);
  if (text.find('\0') != std::string::npos || !foundation::unicode::isValidUtf8(text) ||
      std::regex_search(text, entity))
    FUZZ_CHECK(!list);
  checkStoreOutcome(data);
}

}  // namespace tamsa_fuzz
