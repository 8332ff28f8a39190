#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A MIDI file as the user names it (a standard MIDI file of type 0 or 1, or
// a RIFF MIDI file), read whole, unwrapped, checked and repaired into bytes
// that FluidSynth takes; or why it cannot be played.
class PlayableMidiFile {
public:
    // Files larger than this are refused without being read.
    static constexpr std::size_t maxFileSize = 64 * 1024 * 1024;

    struct Result {
        std::vector<std::uint8_t> bytes; // well-formed, when accepted
        std::string refusal;             // for standard error; empty when accepted
        QString reason;                  // the same for the user, in Japanese
        bool ok() const { return refusal.empty(); }
    };

    static Result read(const QString& fileName);
};
