#pragma once
// A property of a fuzz target: when it does not hold, the input is a finding. abort() makes
// libFuzzer keep the input as a crash file, whatever NDEBUG says.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__,    \
                         #condition);                                                          \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)
