#include "midifile/SongPresets.h"

#include "midifile/Chunks.h"
#include "midifile/TrackEvents.h"

#include <array>
#include <optional>

namespace {

using View = std::span<const std::uint8_t>;

constexpr std::uint8_t controlChange = 0xB0;
constexpr std::uint8_t programChange = 0xC0;
constexpr std::uint8_t bankSelect = 0; // its most significant byte: FluidSynth's bank number

class Collector {
public:
    Collector() {
        // A channel that selects nothing plays program 0 of its default bank.
        add(0, 0);
        add(SongPresets::drumChannel, 0);
    }

    void read(View track) {
        TrackEvents events(track);
        while (const std::optional<TrackEvents::Event> event = events.next()) {
            if (!event->isChannelMessage())
                continue;
            if (event->kind() == programChange)
                add(event->channel(), event->data[0]);
            else if (event->kind() == controlChange && event->data[0] == bankSelect)
                banks_[event->channel()] = event->data[1];
        }
    }

    std::set<SongPresets::Preset> presets;

private:
    // FluidSynth's fallbacks: a drum kit the SoundFont lacks plays the
    // standard kit, a melodic bank it lacks plays bank 0.
    void add(int channel, int program) {
        if (channel == SongPresets::drumChannel) {
            presets.insert({SongPresets::drumBank, program});
            presets.insert({SongPresets::drumBank, 0});
        } else {
            presets.insert({banks_[channel], program});
            presets.insert({0, program});
        }
    }

    std::array<int, 16> banks_{};
};

} // namespace

std::set<SongPresets::Preset> SongPresets::of(View smf) {
    Collector collector;
    Chunks chunks(smf, Chunks::Layout::Midi);
    while (const std::optional<Chunks::Chunk> chunk = chunks.next()) {
        if (chunk->id == "MTrk")
            collector.read(chunk->body);
    }
    return collector.presets;
}
