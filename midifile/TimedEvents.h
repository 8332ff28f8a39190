#pragma once

#include "midifile/Chunks.h"
#include "midifile/TrackEvents.h"

#include <cstdint>
#include <optional>

// The events of a MIDI file's tracks, track after track, each with its tick
// counted from the song's start.
class TimedEvents {
public:
    // Calls `visit(tick, event)` for each event; when it returns false, the
    // rest of that track is left out.
    template <class Visit> static void forEach(ByteReader::Bytes smf, Visit visit) {
        Chunks chunks(smf, Chunks::Layout::Midi);
        while (const std::optional<Chunks::Chunk> chunk = chunks.next()) {
            if (chunk->id != "MTrk")
                continue;
            TrackEvents events(chunk->body);
            std::int64_t tick = 0;
            while (const std::optional<TrackEvents::Event> event = events.next()) {
                tick += event->delta;
                if (!visit(tick, *event))
                    break;
            }
        }
    }
};
