#pragma once

#include <fluidsynth.h>

#include <string>
#include <vector>

// Starts FluidSynth's audio output on the first driver that works, keeping
// the audio libraries' own messages off the terminal. The driver that
// worked is tried first the next time.
class AudioOutput {
public:
    explicit AudioOutput(std::vector<std::string> drivers);
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // A running driver, or nullptr when none of the drivers starts.
    fluid_audio_driver_t* start(fluid_settings_t* settings, fluid_synth_t* synth);

    const std::vector<std::string>& drivers() const { return drivers_; }

private:
    bool prepare(const std::string& driver);

    std::vector<std::string> drivers_;
    bool sdlAudioStarted_ = false;
};
