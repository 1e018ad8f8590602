// The suite file as an XML property list: text that the screening must refuse never reaches
// libplist, what is accepted reads back the same when written out again, and the loader gives the
// empty-store entry for anything that is not a dictionary.
#include <algorithm>

#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Unicode.h"

namespace tamsa_fuzz {
namespace {

bool containsEntityDeclaration(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
  return lower.find("<!entity") != std::string::npos;
}

}  // namespace

void fuzzStoreXml(std::string_view data) {
  auto list = foundation::readXmlPropertyList(data);
  if (data.find('\0') != std::string_view::npos || !foundation::unicode::isValidUtf8(data) ||
      containsEntityDeclaration(data)) {
    FUZZ_CHECK(!list) << "accepted " << printable(data);
  }
  if (list) {
    checkAcceptedList(data, *list);
    ValueShape s = shapeOf(*list);
    // libplist keeps XML dates in 32 bits and cannot write non-finite reals back.
    if (s.nodes <= 4000 && !s.hasDate && !s.hasNonFiniteReal) {
      std::string rewritten = xmlPlist(*list);
      auto again = foundation::readXmlPropertyList(rewritten);
      FUZZ_CHECK(again && sameValue(*again, *list))
          << "XML rewrite does not read back: " << printable(rewritten, 400) << " from "
          << printable(data, 400);
    }
  }
  checkStoreOutcome(data);
}

}  // namespace tamsa_fuzz
