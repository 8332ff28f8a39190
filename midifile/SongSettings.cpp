#include "midifile/SongSettings.h"

#include "midifile/Chunks.h"
#include "midifile/TrackEvents.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::uint8_t noteOff = 0x80;
constexpr std::uint8_t noteOn = 0x90;
constexpr std::uint8_t keyPressure = 0xA0;

bool setsTheSound(const TrackEvents::Event& event) {
    if (event.isChannelMessage())
        return event.kind() != noteOff && event.kind() != noteOn && event.kind() != keyPressure;
    return event.status == TrackEvents::sysex;
}

struct Timed {
    std::int64_t tick;
    SongSettings::Message message;
};

} // namespace

std::vector<SongSettings::Message> SongSettings::upTo(std::span<const std::uint8_t> normalisedFile,
                                                      std::int64_t tick) {
    std::vector<Timed> found;
    Chunks chunks(normalisedFile, Chunks::Layout::Midi);
    chunks.next(); // the header
    while (const std::optional<Chunks::Chunk> chunk = chunks.next()) {
        if (chunk->id != "MTrk")
            continue;
        TrackEvents events(chunk->body);
        std::int64_t at = 0;
        while (const std::optional<TrackEvents::Event> event = events.next()) {
            at += event->delta;
            if (at > tick)
                break;
            if (setsTheSound(*event))
                found.push_back({at, {event->status, event->data}});
        }
    }
    // Gathered track by track: a stable sort by tick keeps the tracks' order
    // at the same tick.
    std::stable_sort(found.begin(), found.end(),
                     [](const Timed& a, const Timed& b) { return a.tick < b.tick; });
    std::vector<Message> messages;
    messages.reserve(found.size());
    for (const Timed& timed : found)
        messages.push_back(timed.message);
    return messages;
}
