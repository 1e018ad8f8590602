// FUZZ_CHECK(condition): the documented outcome a fuzz target asserts. Under libFuzzer a failed
// check names itself and aborts, so the fuzzer keeps the input; in the corpus replay test
// (TAMSA_FUZZ_REPLAY) it is a GoogleTest failure.
#pragma once

#ifdef TAMSA_FUZZ_REPLAY
#include <gtest/gtest.h>
#define FUZZ_CHECK(condition) \
  do {                        \
    EXPECT_TRUE(condition);   \
  } while (false)
#else
#include <cstdio>
#include <cstdlib>
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)
#endif
