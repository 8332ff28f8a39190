#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

// Where a song's ticks fall in time, as the engine plays it: read from a
// normalised file (see MidiFileNormaliser), whose division counts ticks a
// quarter note and whose tempo events (those of every track, the later track
// winning at the same tick) set the length of a quarter note from their tick
// on; 120 beats a minute until the first. SMPTE-timed files and format 2
// patterns are already laid out that way by the normaliser.
class SongTiming {
public:
    using Microseconds = std::chrono::microseconds;

    // A file without a readable header gives a song of no length.
    explicit SongTiming(std::span<const std::uint8_t> normalisedFile);

    // The tick of the last track's end.
    std::int64_t endTick() const { return endTick_; }
    Microseconds length() const { return at(endTick_); }
    // When `tick` sounds, counted from the song's start.
    Microseconds at(std::int64_t tick) const;
    // The first tick that sounds at `time` or later (for a time past the
    // end: past endTick()).
    std::int64_t tickAt(Microseconds time) const;

private:
    struct TempoChange {
        std::int64_t tick;
        std::int64_t microseconds; // from the song's start to `tick`
        std::int64_t microsecondsPerQuarter;
    };

    const TempoChange& changeBefore(std::int64_t tick) const;

    std::int64_t ticksPerQuarter_ = 480;
    std::vector<TempoChange> changes_;
    std::int64_t endTick_ = 0;
};
