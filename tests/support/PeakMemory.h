#pragma once

#include <cstdint>

// The most memory this process has held since the last reset (the kernel's
// peak resident set size), for checking that work on a large input does not
// take many times the input's size.
class PeakMemory {
public:
    // Starts a new measurement: the peak falls back to what is held now.
    static void reset();
    // Bytes held at the peak since the last reset.
    static std::int64_t peak();
    // Bytes held now.
    static std::int64_t current();
    // False where the peak cannot be reset, and in a sanitizer build, whose
    // shadow memory and quarantine of freed blocks are counted too.
    static bool measurable();
};
