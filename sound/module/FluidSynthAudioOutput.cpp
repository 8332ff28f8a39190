#include "sound/FluidSynthAudioOutput.h"

#include <QByteArray>
#include <QtGlobal>

#include <SDL.h>
#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <algorithm>
#include <mutex>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}
void quietJack(const char*) {}

void quietAudioLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        snd_lib_error_set_handler(quietAlsa);
        jack_set_error_function(quietJack);
        jack_set_info_function(quietJack);
        // Trying JACK must never start a JACK server.
        if (!qEnvironmentVariableIsSet("JACK_NO_START_SERVER"))
            qputenv("JACK_NO_START_SERVER", QByteArrayLiteral("1"));
    });
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void zeroUpperHalves() {
    _mm256_zeroupper();
}
#endif

// A new thread starts with the vector registers of the thread that makes it.
// Qt's GUI start-up leaves the upper halves of the AVX registers in use, and
// while they are, the processor runs FluidSynth's SSE code with a false
// dependency on them: some 10 % more CPU for the same sound. Cleared just
// before the driver makes its audio thread, that thread begins without them.
void clearUpperVectorHalves() {
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("avx"))
        zeroUpperHalves();
#endif
}

} // namespace

FluidSynthAudioOutput::FluidSynthAudioOutput(std::vector<std::string> drivers)
    : drivers_(std::move(drivers)) {
    quietAudioLibraries();
}

FluidSynthAudioOutput::~FluidSynthAudioOutput() {
    stop();
    if (sdlAudioStarted_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// FluidSynth's SDL2 driver needs the application to start SDL's audio first.
bool FluidSynthAudioOutput::prepare(const std::string& driver) {
    if (driver != "sdl2" || sdlAudioStarted_)
        return true;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    sdlAudioStarted_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    return sdlAudioStarted_;
}

bool FluidSynthAudioOutput::start(fluid_settings_t* settings, fluid_audio_func_t render,
                                  void* data) {
    stop();
    for (auto it = drivers_.begin(); it != drivers_.end(); ++it) {
        if (!prepare(*it) ||
            fluid_settings_setstr(settings, "audio.driver", it->c_str()) != FLUID_OK)
            continue;
        clearUpperVectorHalves();
        if ((driver_ = new_fluid_audio_driver2(settings, render, data)) != nullptr) {
            std::rotate(drivers_.begin(), it, it + 1);
            return true;
        }
    }
    return false;
}

void FluidSynthAudioOutput::stop() {
    if (driver_ != nullptr)
        delete_fluid_audio_driver(driver_);
    driver_ = nullptr;
}

std::string FluidSynthAudioOutput::tried() const {
    std::string names;
    for (const std::string& name : drivers_)
        names += (names.empty() ? "" : ", ") + name;
    return names;
}
