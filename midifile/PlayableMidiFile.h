#pragma once

#include "midifile/MidiFileNormaliser.h"

#include <cstddef>
#include <cstdint>
#include <span>

// A MIDI file's bytes as the user's file holds them (a standard MIDI file
// of type 0, 1 or 2, or a RIFF MIDI file), unwrapped, checked and repaired
// into bytes that FluidSynth takes; or why they cannot be played.
class PlayableMidiFile {
public:
    // Files larger than this are refused without being read.
    static constexpr std::size_t maxFileSize = 64 * 1024 * 1024;

    using Refusal = MidiFileNormaliser::Refusal;
    using Result = MidiFileNormaliser::Result;

    static Result fromBytes(std::span<const std::uint8_t> file);
};
