// libFuzzer's entry point for one target; TAMSA_FUZZ_FUNCTION names the target's function.
#include <cstdint>

#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tamsa_fuzz::TAMSA_FUZZ_FUNCTION(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
