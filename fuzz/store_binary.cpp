// The suite file as a binary property list: the reader accepts only what CoreFoundation's checks
// accept and what it accepts is sound; the loader gives the empty-store entry for anything else.
#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "platform/foundation/PropertyList.h"

namespace tamsa_fuzz {

void fuzzStoreBinary(std::string_view data) {
  auto list = foundation::readBinaryPropertyList(data);
  // A binary list is at least a header, one object byte and the 32-byte trailer.
  if (data.size() < 41 || data.substr(0, 7) != "bplist0") {
    FUZZ_CHECK(!list) << "accepted " << printable(data);
  }
  if (list) {
    checkAcceptedList(data, *list);
    auto again = foundation::readBinaryPropertyList(data);
    FUZZ_CHECK(again && sameValue(*again, *list)) << "second reading differs";
  }
  checkStoreOutcome(data);
}

}  // namespace tamsa_fuzz
