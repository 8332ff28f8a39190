#include "platform/AudioOutput.h"

#include <SDL.h>
#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

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
        setenv("JACK_NO_START_SERVER", "1", 0);
    });
}

} // namespace

AudioOutput::AudioOutput(std::vector<std::string> drivers) : drivers_(std::move(drivers)) {
    quietAudioLibraries();
}

AudioOutput::~AudioOutput() {
    if (sdlAudioStarted_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// FluidSynth's SDL2 driver needs the application to start SDL's audio first.
bool AudioOutput::prepare(const std::string& driver) {
    if (driver != "sdl2" || sdlAudioStarted_)
        return true;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    sdlAudioStarted_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    return sdlAudioStarted_;
}

fluid_audio_driver_t* AudioOutput::start(fluid_settings_t* settings, fluid_synth_t* synth) {
    for (auto it = drivers_.begin(); it != drivers_.end(); ++it) {
        if (!prepare(*it) ||
            fluid_settings_setstr(settings, "audio.driver", it->c_str()) != FLUID_OK)
            continue;
        if (fluid_audio_driver_t* driver = new_fluid_audio_driver(settings, synth)) {
            std::rotate(drivers_.begin(), it, it + 1);
            return driver;
        }
    }
    return nullptr;
}
