#pragma once

#include "midifile/PlayedNotes.h"

#include <compare>
#include <cstdint>
#include <map>
#include <span>

// The SoundFont presets a song's notes may sound with: every bank and
// program the file selects on a channel (as a drum kit where a GS message or
// XG's bank 127 makes the channel a drum part), the preset FluidSynth falls
// back to when the SoundFont lacks one, and the defaults of a channel that
// selects none. The engine loads their samples before the music starts, so that no
// note waits for the disk. Reads each track as far as its events are whole.
class SongPresets {
public:
    struct Preset {
        int bank;
        int program;
        auto operator<=>(const Preset&) const = default;
    };

    // General MIDI's drums: channel 10 plays the programs of bank 128.
    static constexpr int drumChannel = 9;
    static constexpr int drumBank = 128;

    // The presets, each with the notes the song may start with it: those
    // of every channel that may hold it. Where the song retunes keys (MIDI
    // Tuning messages), every note of them.
    static std::map<Preset, PlayedNotes> of(std::span<const std::uint8_t> smf);
};
