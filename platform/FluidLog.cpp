#include "platform/FluidLog.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace {

// Messages arrive from the audio thread and the engine's command thread too,
// which may still be at work while the program's statics are destroyed: these
// two are never destroyed.
std::mutex& guard() {
    static auto* instance = new std::mutex;
    return *instance;
}

std::string& lastComplaint() {
    static auto* text = new std::string;
    return *text;
}

void keep(int level, const char* message, void*) {
    if (level > FLUID_WARN || message == nullptr)
        return; // information and debugging chatter
    const std::lock_guard lock(guard());
    lastComplaint() = message;
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
    const std::lock_guard lock(guard());
    lastComplaint().clear();
}

void FluidLog::report(const std::string& what) {
    std::string line = "pelora: " + what;
    {
        const std::lock_guard lock(guard());
        if (!lastComplaint().empty())
            line += ": " + lastComplaint();
        lastComplaint().clear();
    }
    line = oneLine(line) + "\n";
    std::fputs(line.c_str(), stderr);
}
