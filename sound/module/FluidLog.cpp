#include "sound/FluidLog.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace {

// Each thread's own: what FluidSynth said while the audio thread rendered
// says nothing of why the command thread's operation failed.
thread_local std::string lastComplaint;

void keep(int level, const char* message, void*) {
    if (level > FLUID_WARN || message == nullptr)
        return; // information and debugging chatter
    lastComplaint = message;
}

// A file name may hold anything; the report stays one line.
std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    return text;
}

} // namespace

void FluidLog::install() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, keep, nullptr);
    });
}

void FluidLog::forget() {
    lastComplaint.clear();
}

void FluidLog::report(const std::string& what) {
    std::string line = "pelora: " + what;
    if (!lastComplaint.empty())
        line += ": " + lastComplaint;
    lastComplaint.clear();
    line = oneLine(line) + "\n";
    std::fputs(line.c_str(), stderr);
}
