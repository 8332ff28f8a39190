#pragma once

#include <fluidsynth.h>

#include <string>

// Where the synthesizer's sound goes: a stream that pulls samples from it
// through the engine's render function, which stays valid while songs change.
// Starting and stopping may take as long as the sound server does, forever
// when it has stopped answering: the engine does both on its command thread,
// never on the window's.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // Starts a stream that calls `render` with `data` for each period of
    // samples; false when no output could start.
    virtual bool start(fluid_settings_t* settings, fluid_audio_func_t render, void* data) = 0;
    // Stops the stream that runs, if any; it no longer calls `render` then.
    virtual void stop() = 0;
    // What start() tried, for the report when nothing started: "pulseaudio, alsa".
    virtual std::string tried() const = 0;
};
