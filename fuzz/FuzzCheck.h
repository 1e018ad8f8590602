// FUZZ_CHECK(condition) << "details": the documented outcome a fuzz target asserts. Under
// libFuzzer a failed check prints its details and aborts, so the fuzzer keeps the input; in the
// corpus replay test (TAMSA_FUZZ_REPLAY) it is a GoogleTest failure naming the check.
#pragma once

#ifdef TAMSA_FUZZ_REPLAY
#include <gtest/gtest.h>

#define FUZZ_CHECK(condition) EXPECT_TRUE(condition)

#else
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace tamsa_fuzz {

// Collects the details of a failed check and aborts when the statement ends.
class CheckFailure {
 public:
  CheckFailure(const char* file, int line, const char* condition) {
    details_ << file << ":" << line << ": check failed: " << condition << "\n";
  }
  ~CheckFailure() {
    std::fprintf(stderr, "%s\n", details_.str().c_str());
    std::abort();
  }
  template <class T>
  CheckFailure& operator<<(const T& value) {
    details_ << value;
    return *this;
  }

 private:
  std::ostringstream details_;
};

}  // namespace tamsa_fuzz

// The switch keeps an "else" after the macro from binding to the macro's own "if".
#define FUZZ_CHECK(condition) \
  switch (0)                  \
  case 0:                     \
  default:                    \
    if (condition) {          \
    } else                    \
      ::tamsa_fuzz::CheckFailure(__FILE__, __LINE__, #condition)

#endif
