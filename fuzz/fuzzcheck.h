#pragma once

#include <cstdio>
#include <cstdlib>

// A broken rule is a crash for libFuzzer: it saves the input and stops.
#define WS_FUZZ_REQUIRE(condition)                                                               \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: rule broken: %s\n", __FILE__, __LINE__, #condition);   \
            std::abort();                                                                        \
        }                                                                                        \
    } while (false)
