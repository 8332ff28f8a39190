#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// RIFF MIDI files (.rmi): "RIFF", a little-endian size, the form type "RMID",
// then chunks (id, little-endian length, body, one pad byte after a body of
// odd length); the "data" chunk holds a standard MIDI file.
class RiffMidi {
public:
    using Bytes = std::span<const std::uint8_t>;

    static bool isRiff(Bytes file);

    // The body of the "data" chunk, or nothing with `refusal` saying why.
    // Lengths are checked against the real size, never trusted: a "data" chunk
    // that runs past the end is cut to the bytes that are there (the MIDI
    // check decides what they are worth); the RIFF size field is not used.
    static std::optional<Bytes> dataChunk(Bytes file, std::string& refusal);
};
