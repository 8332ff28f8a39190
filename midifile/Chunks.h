#pragma once

#include "midifile/ByteReader.h"

#include <cstdint>
#include <optional>
#include <string_view>

// The chunks of a MIDI or RIFF file, in order: a 4-character id, a 32-bit
// length, the body. MIDI files store the length most significant byte
// first; RIFF files least significant first, with a pad byte after a body of
// odd length. A length is never trusted: a body that runs past the end of
// the file is cut to the bytes that are there, and is the last chunk.
class Chunks {
public:
    enum class Layout { Midi, Riff };

    struct Chunk {
        std::string_view id;
        ByteReader::Bytes body;
        bool cut = false; // the length said more than the file holds
    };

    Chunks(ByteReader::Bytes bytes, Layout layout) : in_(bytes), layout_(layout) {}

    // Nothing once no whole chunk header is left.
    std::optional<Chunk> next();

private:
    ByteReader in_;
    Layout layout_;
};
