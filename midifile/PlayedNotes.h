#pragma once

#include <array>
#include <bitset>

// Keys and the velocities each is played at: the notes a song may start
// with one preset, which decide the zones of it that can sound (a zone
// sounds the keys and velocities of its ranges only).
class PlayedNotes {
public:
    static constexpr int keys = 128;
    static constexpr int velocities = 128;

    void add(int key, int velocity);
    void add(const PlayedNotes& other);
    // Every key at every velocity: for a song whose keys may be retuned
    // (FluidSynth then picks a zone by the key a note is tuned to).
    void addAll();
    // Those of them inside both ranges (inclusive).
    PlayedNotes within(int lowKey, int highKey, int lowVelocity, int highVelocity) const;
    bool any() const;

private:
    std::array<std::bitset<velocities>, keys> atKey_{};
};
