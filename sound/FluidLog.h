#pragma once

#include <string>

// FluidSynth's own log messages go through here instead of to the terminal:
// a failure is reported by us in one line on standard error, naming what
// failed and, where FluidSynth said why, its last complaint.
class FluidLog {
public:
    // Routes every log level of FluidSynth to us. Safe to call more than once.
    static void install();
    // Forgets what FluidSynth said so far on this thread, so that the next
    // report holds only what the next operation caused.
    static void forget();
    // Writes "pelora: <what>[: <FluidSynth's last complaint on this
    // thread>]" as one line.
    static void report(const std::string& what);
};
