#include "midifile/SongTiming.h"

#include "midifile/Chunks.h"
#include "midifile/TimedEvents.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::uint8_t metaEndOfTrack = 0x2F;
constexpr std::uint8_t metaTempo = 0x51;
constexpr std::int64_t defaultMicrosecondsPerQuarter = 500'000;

struct TempoEvent {
    std::int64_t tick;
    std::int64_t microsecondsPerQuarter;
};

} // namespace

SongTiming::SongTiming(std::span<const std::uint8_t> normalisedFile) {
    Chunks chunks(normalisedFile, Chunks::Layout::Midi);
    const std::optional<Chunks::Chunk> header = chunks.next();
    if (!header || header->id != "MThd" || header->body.size() < 6)
        return;
    ByteReader fields(header->body.subspan(4));
    const std::uint16_t division = *fields.bigEndian16();
    if (division == 0 || (division & 0x8000) != 0)
        return;
    ticksPerQuarter_ = division;

    std::vector<TempoEvent> tempos;
    TimedEvents::forEach(normalisedFile, [&](std::int64_t tick, const TrackEvents::Event& event) {
        endTick_ = std::max(endTick_, tick);
        if (event.status != TrackEvents::meta)
            return true;
        if (event.metaType == metaTempo && event.data.size() == 3)
            tempos.push_back({tick, (event.data[0] << 16) | (event.data[1] << 8) | event.data[2]});
        return event.metaType != metaEndOfTrack;
    });
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoEvent& a, const TempoEvent& b) { return a.tick < b.tick; });

    changes_.push_back({0, 0, defaultMicrosecondsPerQuarter});
    for (const TempoEvent& tempo : tempos) {
        if (tempo.tick == changes_.back().tick) {
            changes_.back().microsecondsPerQuarter = tempo.microsecondsPerQuarter;
            continue;
        }
        changes_.push_back({tempo.tick, at(tempo.tick).count(), tempo.microsecondsPerQuarter});
    }
}

const SongTiming::TempoChange& SongTiming::changeBefore(std::int64_t tick) const {
    const auto after = std::upper_bound(
        changes_.begin(), changes_.end(), tick,
        [](std::int64_t value, const TempoChange& change) { return value < change.tick; });
    return *(after == changes_.begin() ? after : after - 1);
}

SongTiming::Microseconds SongTiming::at(std::int64_t tick) const {
    if (changes_.empty() || tick <= 0)
        return Microseconds(0);
    const TempoChange& change = changeBefore(tick);
    return Microseconds(change.microseconds +
                        (tick - change.tick) * change.microsecondsPerQuarter / ticksPerQuarter_);
}

std::int64_t SongTiming::tickAt(Microseconds time) const {
    if (changes_.empty() || time.count() <= 0)
        return 0;
    const auto after = std::upper_bound(
        changes_.begin(), changes_.end(), time.count(),
        [](std::int64_t value, const TempoChange& change) { return value < change.microseconds; });
    const TempoChange& change = *(after - 1);
    const std::int64_t since = (time.count() - change.microseconds) * ticksPerQuarter_;
    return change.tick +
           (since + change.microsecondsPerQuarter - 1) / change.microsecondsPerQuarter;
}
