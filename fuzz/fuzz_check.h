#pragma once
// What every fuzz target does when a property fails: say which, and stop with a crash, so that
// libFuzzer keeps the input and the run fails.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition);           \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// What every accepted picture has, whatever brought it: sides from 1 to 32767.
#define FUZZ_CHECK_SIDES(size)                                                                     \
    do {                                                                                           \
        FUZZ_CHECK((size).w >= 1 && (size).w <= 32767);                                            \
        FUZZ_CHECK((size).h >= 1 && (size).h <= 32767);                                            \
    } while (0)
