#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Turns a standard MIDI file as found in the wild into a well-formed copy
// that FluidSynth's loader accepts, or refuses it. FluidSynth parses a file
// only when playback starts, inside the audio callback, and gives up on much
// that other players take; checking and repairing here lets an unplayable
// file fail when it is opened, and lets real-world files play.
//
// Repaired: bytes before "MThd" (found within the first 4 KB: a MacBinary
// header, say); a header chunk longer than 6 bytes; chunks of other types
// (dropped); more track chunks than the header counts (the extra ones
// ignored) or fewer (the count corrected); a track that runs past the end of
// the file or breaks off inside an event (cut after its last whole event);
// a missing end-of-track; running status (written out in full); escaped
// sysex (F7) and meta events of a wrong length (kept as sequencer-specific
// meta events, which carry their delta time and are ignored).
//
// Converted, as FluidSynth would not play them as written: SMPTE time
// division (24, 25, 29.97 or 30 frames a second) becomes a division of the
// ticks in a second, with one tempo, a quarter note a second, at the start
// of the first track; the file's own tempo events, meaningless under it,
// are kept as sequencer-specific ones. A format 2 file, whose tracks are
// patterns played one after another, becomes a format 0 file of one track:
// each pattern starts at the end-of-track of the one before, and the time
// and event limits hold for the whole.
//
// Refused: no "MThd" within the first 4 KB; a header chunk shorter than 6
// bytes or running past the end; format above 2; an SMPTE division of
// another frame rate or of 0 ticks a frame; a division of 0; no track; more
// than 128 tracks (FluidSynth's limit); no note (a note-on of a velocity
// above 0) in any track, as in a file whose only track is empty; a copy of
// more than maxEvents events. FluidSynth keeps each event in a block of its
// own (some 46 bytes), parses them all in the audio callback when playback
// starts, and frees them one by one: a file of 12 million events (50 MB)
// would take over 500 MB and half a second for each, 4 million some 180 MB
// and a sixth of a second.
class MidiFileNormaliser {
public:
    // What kind of file a refused one is.
    enum class Refusal { Empty, NotMidi, Damaged, TooManyEvents, NoNotes };

    struct Result {
        std::vector<std::uint8_t> bytes; // the well-formed copy
        std::string refusal;             // empty when the file is accepted
        Refusal kind = Refusal::Damaged;
        bool ok() const { return refusal.empty(); }
    };

    static constexpr std::size_t headerSearchLimit = 4096;
    static constexpr int maxTracks = 128;
    static constexpr std::size_t maxEvents = 4'000'000;

    static Result normalise(std::span<const std::uint8_t> file);
    // Where "MThd" starts, when it does within the first headerSearchLimit bytes.
    static std::optional<std::size_t> findHeader(std::span<const std::uint8_t> file);
};
