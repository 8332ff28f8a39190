#pragma once

#include <QMetaType>
#include <QString>

#include <chrono>
#include <cstdint>

// What the engine sounds at one moment.
struct SoundState {
    enum class Status : std::uint8_t { Stopped, Playing, Paused, Ended };
    Status status = Status::Stopped;
    QString fileName;                      // the song open; empty when none
    std::chrono::microseconds length{0};   // the song's length; 0 when none
    std::chrono::microseconds position{0}; // where the song was when this was reported
};

Q_DECLARE_METATYPE(SoundState)
Q_DECLARE_METATYPE(std::chrono::microseconds)
