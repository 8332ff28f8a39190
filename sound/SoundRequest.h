#pragma once

#include <QString>

#include <chrono>
#include <cstdint>

// What the player has asked the engine for, as the latest of its commands
// leaves it: the engine's command thread brings the synthesizer to it, so
// that commands superseded before it got to them cost nothing.
struct SoundRequest {
    enum class Status : std::uint8_t { Stopped, Playing, Paused };

    QString fileName; // empty: nothing open
    // Counts the opens: each one opens the file afresh, also the same file.
    std::uint64_t opening = 0;
    Status status = Status::Stopped;
    // Counts the starts (a play from the beginning, a seek): each one starts
    // the song at `startAt`, playing or paused as `status` says.
    std::uint64_t starting = 0;
    std::chrono::microseconds startAt{0};
    bool lastStartWasSeek = false;
    bool looping = false;
    double volume = 1.0;
};
