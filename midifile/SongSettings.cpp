#include "midifile/SongSettings.h"

#include "midifile/TimedEvents.h"

#include <algorithm>

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
    TimedEvents::forEach(normalisedFile, [&](std::int64_t at, const TrackEvents::Event& event) {
        if (at > tick)
            return false;
        if (setsTheSound(event))
            found.push_back({at, {event.status, event.data}});
        return true;
    });
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
