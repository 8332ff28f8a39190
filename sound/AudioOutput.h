#pragma once

#include <fluidsynth.h>

#include <string>

// Where the synthesizer's sound goes: a stream that pulls samples from it.
// Starting and stopping may take as long as the sound server does, forever
// when it has stopped answering: the engine does both on its command thread,
// never on the window's.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // Starts a stream from `synth`; false when no output could start.
    virtual bool start(fluid_settings_t* settings, fluid_synth_t* synth) = 0;
    // Stops the stream that runs, if any; it no longer touches the synthesizer then.
    virtual void stop() = 0;
    // What start() tried, for the report when nothing started: "pulseaudio, alsa".
    virtual std::string tried() const = 0;
};
