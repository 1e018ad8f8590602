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
  std::function<bool(const foundation::PlistValue&, int)> sound = [&](const auto& v, int depth) {
    if (const auto* s = std::get_if<std::string>(&v.value))
      return foundation::unicode::isValidUtf8(*s);
    if (const auto* a = std::get_if<foundation::PlistArray>(&v.value)) {
      for (const auto& child : *a)
        if (!sound(child, depth + 1)) return false;
    } else if (const auto* d = std::get_if<foundation::PlistDictionary>(&v.value)) {
      for (const auto& [key, child] : *d)
        if (!foundation::unicode::isValidUtf8(key) || !sound(child, depth + 1)) return false;
    } else {
      return true;
    }
    return depth < foundation::maxPropertyListDepth;
  };
  FUZZ_CHECK(sound(*list, 0));
  checkStoreOutcome(data);
}

}  // namespace tamsa_fuzz
