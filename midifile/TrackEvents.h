#pragma once

#include "midifile/ByteReader.h"

#include <cstdint>
#include <optional>

// The events of one MIDI track, in order, as far as they are whole and
// valid. Running status is written out: every event carries its status.
// Meta and sysex events leave the running status alone: strictly they
// cancel it, but files that run on across them play in other players.
class TrackEvents {
public:
    static constexpr std::uint8_t sysex = 0xF0;
    static constexpr std::uint8_t sysexEscape = 0xF7;
    static constexpr std::uint8_t meta = 0xFF;

    struct Event {
        std::uint32_t delta = 0;
        std::uint8_t status = 0;
        std::uint8_t metaType = 0; // meta events only
        // A channel message's data bytes (one or two); a sysex or meta
        // event's body.
        ByteReader::Bytes data;

        bool isChannelMessage() const { return status < sysex; }
        std::uint8_t kind() const { return status & 0xF0; }
        int channel() const { return status & 0x0F; }
    };

    explicit TrackEvents(ByteReader::Bytes track) : in_(track) {}

    // The next event; nothing at the track's end or at the first thing that
    // is not a whole, valid event (a byte of system common or real-time
    // messages has no place in a file).
    std::optional<Event> next();

private:
    ByteReader in_;
    std::uint8_t running_ = 0;
};
