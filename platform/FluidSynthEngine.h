#pragma once

#include "platform/AudioOutput.h"

#include <fluidsynth.h>

#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

// The one synthesizer of the run, with its SoundFont loaded once, shared by
// every FluidSynthDevice: a later "Open" then "Play" reaches sound at once.
// A missing SoundFont is reported once, in one line on standard error; the
// engine is then not ready and every device stays silent.
class FluidSynthEngine {
public:
    struct Config {
        std::vector<std::filesystem::path> soundFonts; // tried in this order
        std::vector<std::string> audioDrivers;         // tried in this order
    };

    // The system's default General MIDI SoundFont first, then any other
    // installed one; PulseAudio (which also serves PipeWire desktops), ALSA,
    // JACK, SDL2, OSS.
    static Config systemConfig();
    // The engine of the run, made from systemConfig() on first use.
    static std::shared_ptr<FluidSynthEngine> shared();

    explicit FluidSynthEngine(const Config& config);
    ~FluidSynthEngine();
    FluidSynthEngine(const FluidSynthEngine&) = delete;
    FluidSynthEngine& operator=(const FluidSynthEngine&) = delete;

    // A synthesizer with a SoundFont.
    bool ready() const { return synth_ != nullptr && soundFont_ != FLUID_FAILED; }
    fluid_synth_t* synth() const { return synth_; }

    // Audio output through the first driver that starts, for a player that
    // exists already; nullptr when none starts (reported once per engine).
    fluid_audio_driver_t* startAudio();

    // Runs `deletion` (of an audio driver, then of its stopped player) on a
    // thread of its own. Deleting the driver waits for the audio callback
    // under way, which parses the whole file when playback starts, and
    // deleting the player frees every event of the file: for a large file
    // either takes long enough to freeze a window.
    void retire(const std::function<void()>& deletion);
    // FluidSynth forbids creating or deleting a player while the synthesizer
    // renders: whoever is about to create a player or to render waits here
    // until every retired one is gone.
    void awaitRetired();

private:
    bool configure();
    void loadSoundFont(const std::vector<std::filesystem::path>& candidates);

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    int soundFont_ = FLUID_FAILED;
    AudioOutput audio_;
    bool audioFailureReported_ = false;
    std::future<void> retiring_;
};
