// The suite file as a binary property list: only a plausible file is read, what is read is valid
// UTF-8 within the nesting cap and reads the same twice, and the loader's outcome follows.
#include <functional>

#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Unicode.h"

namespace tamsa_fuzz {

void fuzzStoreBinary(std::string_view data) {
  auto list = foundation::readBinaryPropertyList(data);
  // A binary list is at least a header, one object byte and the 32-byte trailer.
  if (data.size() < 41 || !data.starts_with("bplist0")) FUZZ_CHECK(!list);
  if (!list) return checkStoreOutcome(data);
  FUZZ_CHECK(foundation::readBinaryPropertyList(data) == list);
  using namespace foundation;
  // Only containers count towards the depth.
  std::function<bool(const PlistValue&, int)> sound = [&](const PlistValue& v, int depth) {
    if (const auto* s = std::get_if<std::string>(&v.value)) return unicode::isValidUtf8(*s);
    bool ok = depth < maxPropertyListDepth;
    if (const auto* a = std::get_if<PlistArray>(&v.value))
      for (const auto& child : *a) ok = ok && sound(child, depth + 1);
    else if (const auto* d = std::get_if<PlistDictionary>(&v.value))
      for (const auto& [key, child] : *d)
        ok = ok && unicode::isValidUtf8(key) && sound(child, depth + 1);
    else
      return true;
    return ok;
  };
  FUZZ_CHECK(sound(*list, 0));
  checkStoreOutcome(data);
}

}  // namespace tamsa_fuzz
