#pragma once

#include "midifile/ByteReader.h"

#include <cstdint>
#include <span>
#include <vector>

// The messages that set how a song sounds, from its start up to and
// including a tick, in the order the engine plays them (by tick, and at the
// same tick track by track): every channel message but notes and key
// pressure (programs, controllers with the pedals and the parameter numbers
// that set a bend range, pitch bend, channel pressure) and system-exclusive
// messages (a GS or XG reset, drum parts). Played into a synthesizer after a
// reset, they leave it as the song has it at that tick, without a note.
// Reads a normalised file (see MidiFileNormaliser).
class SongSettings {
public:
    struct Message {
        std::uint8_t status;
        // A channel message's data bytes; a system-exclusive message's body
        // after F0, as the file holds it (usually ending in F7). It points
        // into the file's bytes.
        ByteReader::Bytes data;
    };

    static std::vector<Message> upTo(std::span<const std::uint8_t> normalisedFile,
                                     std::int64_t tick);
};
