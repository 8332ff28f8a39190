#include "midifile/SongPresets.h"

#include "midifile/TimedEvents.h"

#include <array>
#include <optional>
#include <set>

namespace {

using View = std::span<const std::uint8_t>;

constexpr std::uint8_t noteOn = 0x90;
constexpr std::uint8_t controlChange = 0xB0;
constexpr std::uint8_t programChange = 0xC0;
constexpr std::uint8_t bankSelect = 0; // its most significant byte: FluidSynth's bank number

struct GsPart {
    int channel;
    bool drums; // a drum part, or an instrument's (map 0)
};

// The channel a GS "use for rhythm part" message sets, if it is one:
// F0 41 <device> 42 12 40 1<part> 15 <map> <checksum> F7.
std::optional<GsPart> gsRhythmPart(const TrackEvents::Event& event) {
    const ByteReader::Bytes data = event.data;
    if (event.status != TrackEvents::sysex || data.size() < 8 || data[0] != 0x41 ||
        data[2] != 0x42 || data[3] != 0x12 || data[4] != 0x40 || (data[5] & 0xF0) != 0x10 ||
        data[6] != 0x15)
        return std::nullopt;
    // Parts 1 to 9 are channels 1 to 9, part 0 channel 10, parts 10 to 15 themselves.
    const int part = data[5] & 0x0F;
    return GsPart{part == 0 ? 9 : part < 10 ? part - 1 : part, data[7] != 0};
}

// A MIDI Tuning message, real-time or not: F0 7E|7F <device> 08 ...
bool retunes(const TrackEvents::Event& event) {
    const ByteReader::Bytes data = event.data;
    return event.status == TrackEvents::sysex && data.size() >= 3 &&
           (data[0] == 0x7E || data[0] == 0x7F) && data[2] == 0x08;
}

class Collector {
public:
    Collector() { drumParts_[SongPresets::drumChannel] = true; }

    void take(const TrackEvents::Event& event) {
        if (const std::optional<GsPart> part = gsRhythmPart(event))
            (part->drums ? drumParts_ : melodicParts_)[part->channel] = true;
        retuned_ = retuned_ || retunes(event);
        if (!event.isChannelMessage())
            return;
        const int channel = event.channel();
        if (event.kind() == noteOn && event.data[1] > 0) {
            notes_[channel].add(event.data[0], event.data[1]);
        } else if (event.kind() == programChange) {
            programs_[channel].insert({banks_[channel], event.data[0]});
        } else if (event.kind() == controlChange && event.data[0] == bankSelect) {
            banks_[channel] = event.data[1];
            if (banks_[channel] == xgDrumBank)
                drumParts_[channel] = true;
        }
    }

    // Whatever order the tracks set a channel's part and programs in, each
    // program it selects may sound as a drum kit where the channel is ever a
    // drum part, and as an instrument on every channel but the General MIDI
    // drum channel, and on that one too where a GS message makes it an
    // instrument's part; each with every note of the channel.
    std::map<SongPresets::Preset, PlayedNotes> presets() const {
        // A channel that selects nothing plays program 0 of its default bank.
        std::map<SongPresets::Preset, PlayedNotes> presets{{{0, 0}, {}},
                                                           {{SongPresets::drumBank, 0}, {}}};
        for (int channel = 0; channel < channels; ++channel) {
            PlayedNotes notes = notes_[channel];
            if (retuned_)
                notes.addAll();
            const bool drums = drumParts_[channel];
            const bool melodic = channel != SongPresets::drumChannel || melodicParts_[channel];
            // The defaults, and where a program is missing, the fallbacks' last.
            if (melodic)
                presets[{0, 0}].add(notes);
            if (drums)
                presets[{SongPresets::drumBank, 0}].add(notes);
            for (const SongPresets::Preset& selected : programs_[channel]) {
                // FluidSynth's fallbacks: a drum kit the SoundFont lacks plays
                // the standard kit, a melodic bank it lacks plays bank 0.
                if (drums)
                    presets[{SongPresets::drumBank, selected.program}].add(notes);
                if (melodic) {
                    presets[selected].add(notes);
                    presets[{0, selected.program}].add(notes);
                }
            }
        }
        return presets;
    }

private:
    static constexpr int channels = 16;
    // XG's drum kits: bank select 127.
    static constexpr int xgDrumBank = 127;

    std::array<int, channels> banks_{};
    std::array<std::set<SongPresets::Preset>, channels> programs_;
    std::array<bool, channels> drumParts_{};
    std::array<bool, channels> melodicParts_{}; // made an instrument's part by GS
    std::array<PlayedNotes, channels> notes_;
    bool retuned_ = false;
};

} // namespace

std::map<SongPresets::Preset, PlayedNotes> SongPresets::of(View smf) {
    Collector collector;
    TimedEvents::forEach(smf, [&collector](std::int64_t, const TrackEvents::Event& event) {
        collector.take(event);
        return true;
    });
    return collector.presets();
}
