#pragma once

#include <QString>
#include <cstdint>

// The animation switch as the playlist's check box sets it. Only On starts
// the mascot and only Off stops it; Mixed (a check box in its third state)
// leaves the mascot as it is.
enum class AnimationSwitch : std::uint8_t { Off, On, Mixed };

// What the player's last command left the music doing.
enum class Playback : std::uint8_t { Stopped, Playing, Paused };

// What the player and the playlist window share for the whole run.
struct SharedState {
    // The file the player plays, exactly as the open dialog or a list entry gave it.
    QString currentFile;
    // Milliseconds between two mascot frames.
    std::int16_t frameInterval = 0;
    AnimationSwitch animation = AnimationSwitch::Off;
    Playback playback = Playback::Stopped;
};
