// The whole way of a file the user opens, on the real synthesizer without
// audio output: the bytes as a file, open, play, a second of sound, stop.
// Every input runs on one engine, whose SoundFont is loaded once. A
// file the engine accepts must also load in FluidSynth's own parser, which
// runs only once playback starts: any error FluidSynth logs then means the
// engine let through a file it should have repaired or refused at open. No
// sample it renders is NaN or infinite.
#include "FuzzCheck.h"

#include "sound/SoundEngine.h"
#include "sound/SynthesizerModule.h"
#include "support/TestEngine.h"

#include <QTemporaryDir>

#include <fluidsynth.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>

namespace {

// The synthesizer's code is linked in, instrumented like the engine.
SoundEngine::Config linkedIn() {
    SoundEngine::Config config = testEngineConfig();
    config.makeSynthesizer = makeSynthesizer;
    return config;
}

struct Session {
    QTemporaryDir dir;
    QString file = dir.filePath("input.mid");
    SoundEngine engine{linkedIn()};
};

Session* session = nullptr;
std::atomic<bool> fluidSynthFailed{false};
std::array<fluid_log_function_t, LAST_LOG_LEVEL> forwardTo{};

// Notes what FluidSynth reports as an error, then lets the engine's own log
// handler see it as before.
void watch(int level, const char* message, void* data) {
    if (level <= FLUID_ERR) {
        fluidSynthFailed = true;
        std::fprintf(stderr, "FluidSynth: %s\n", message);
    }
    if (forwardTo[level] != nullptr)
        forwardTo[level](level, message, data);
}

void write(const QString& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    FUZZ_CHECK(out.good());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Kept for the whole run; LeakSanitizer sees it reachable at exit.
    session = new Session;
    FUZZ_CHECK(session->dir.isValid());
    FUZZ_CHECK(session->engine.ready());
    for (int level = FLUID_PANIC; level <= FLUID_ERR; ++level)
        forwardTo[level] = fluid_set_log_function(level, watch, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    write(session->file, data, size);
    SoundEngine& engine = session->engine;
    fluidSynthFailed = false;
    engine.open(session->file);
    const bool accepted = engine.isOpen();
    engine.play();
    std::vector<float> left(SoundEngine::sampleRate), right(SoundEngine::sampleRate);
    engine.render(left.data(), right.data(), SoundEngine::sampleRate);
    for (std::size_t i = 0; i < left.size(); ++i)
        FUZZ_CHECK(std::isfinite(left[i]) && std::isfinite(right[i]));
    engine.stop();
    FUZZ_CHECK(!engine.isOpen());
    FUZZ_CHECK(!(accepted && fluidSynthFailed));
    return 0;
}
