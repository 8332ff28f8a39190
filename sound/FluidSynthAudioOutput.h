#pragma once

#include "sound/AudioOutput.h"

#include <string>
#include <vector>

// FluidSynth's own audio drivers, the first of them that starts, keeping the
// audio libraries' own messages off the terminal. The driver that worked is
// tried first the next time.
class FluidSynthAudioOutput : public AudioOutput {
public:
    explicit FluidSynthAudioOutput(std::vector<std::string> drivers);
    ~FluidSynthAudioOutput() override;
    FluidSynthAudioOutput(const FluidSynthAudioOutput&) = delete;
    FluidSynthAudioOutput& operator=(const FluidSynthAudioOutput&) = delete;

    bool start(fluid_settings_t* settings, fluid_audio_func_t render, void* data) override;
    void stop() override;
    std::string tried() const override;

private:
    bool prepare(const std::string& driver);

    std::vector<std::string> drivers_;
    fluid_audio_driver_t* driver_ = nullptr;
    bool sdlAudioStarted_ = false;
};
