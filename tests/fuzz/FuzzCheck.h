#pragma once

#include <cstdio>
#include <cstdlib>

// A property the code under test must keep; libFuzzer saves the input that
// breaks it, like any crash.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);           \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
