#pragma once

#include <functional>
#include <future>

// Deletes a MIDI player and its audio output on a thread of its own, so that
// the window never waits for it. Deleting the driver waits for the audio
// callback under way, which parses the whole file when playback starts, and
// deleting the player frees every event of the file: for a large file either
// takes long enough to freeze a window.
class Retirement {
public:
    Retirement() = default;
    ~Retirement();
    Retirement(const Retirement&) = delete;
    Retirement& operator=(const Retirement&) = delete;

    // Runs `deletion` on a thread of its own, once the one before it is done.
    void retire(const std::function<void()>& deletion);
    // Returns once every deletion handed over so far is done. FluidSynth
    // forbids creating or deleting a player while the synthesizer renders:
    // whoever is about to do either waits here.
    void await();

private:
    std::future<void> pending_;
};
