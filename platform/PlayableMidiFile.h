#pragma once

#include "platform/MidiFileNormaliser.h"

#include <QString>

#include <cstddef>

// A MIDI file as the user names it (a standard MIDI file of type 0 or 1, or
// a RIFF MIDI file), read whole, unwrapped, checked and repaired into bytes
// that FluidSynth takes; or why it cannot be played.
class PlayableMidiFile {
public:
    // Files larger than this are refused without being read.
    static constexpr std::size_t maxFileSize = 64 * 1024 * 1024;

    static MidiFileNormaliser::Result read(const QString& fileName);
};
