// A failed property stops the fuzzer at once, with the input that broke it
// kept by libFuzzer as a crash file.
#pragma once

#include <cstdio>
#include <cstdlib>

#define NERBO_FUZZ_CHECK(condition)                                                         \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (0)
