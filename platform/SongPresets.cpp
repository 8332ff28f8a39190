#include "platform/SongPresets.h"

#include "platform/BigEndian.h"

#include <array>
#include <cstring>
#include <optional>

namespace {

using View = std::span<const std::uint8_t>;

constexpr std::uint8_t controlChange = 0xB0;
constexpr std::uint8_t programChange = 0xC0;
constexpr std::uint8_t channelPressure = 0xD0;
constexpr std::uint8_t bankSelect = 0;
constexpr std::size_t chunkHeader = 8;

// One track's events, in order, as far as they are whole.
class TrackReader {
public:
    explicit TrackReader(View track) : in_(track) {}

    std::optional<std::uint32_t> number() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4 && at_ < in_.size(); ++i) {
            const std::uint8_t byte = in_[at_++];
            value = value << 7 | (byte & 0x7F);
            if ((byte & 0x80) == 0)
                return value;
        }
        return std::nullopt;
    }
    std::optional<std::uint8_t> byte() {
        if (at_ >= in_.size())
            return std::nullopt;
        return in_[at_++];
    }
    bool skip(std::uint32_t count) {
        if (count > in_.size() - at_)
            return false;
        at_ += count;
        return true;
    }

private:
    View in_;
    std::size_t at_ = 0;
};

class Collector {
public:
    Collector() {
        // A channel that selects nothing plays program 0 of its default bank.
        add(0, 0);
        add(SongPresets::drumChannel, 0);
    }

    void read(View track) {
        TrackReader in(track);
        for (;;) {
            if (!in.number())
                return;
            const std::optional<std::uint8_t> status = in.byte();
            if (!status || *status < 0x80)
                return;
            if (*status == 0xFF && !in.byte())
                return;
            if (*status >= 0xF0) {
                const std::optional<std::uint32_t> length = in.number();
                if (!length || !in.skip(*length))
                    return;
                continue;
            }
            const std::uint8_t kind = *status & 0xF0;
            const int channel = *status & 0x0F;
            const std::optional<std::uint8_t> first = in.byte();
            if (!first)
                return;
            if (kind == programChange) {
                add(channel, *first);
                continue;
            }
            if (kind == channelPressure)
                continue;
            const std::optional<std::uint8_t> second = in.byte();
            if (!second)
                return;
            if (kind == controlChange && *first == bankSelect)
                banks_[channel] = *second;
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
    std::size_t at = 0;
    while (smf.size() - at >= chunkHeader) {
        const std::uint32_t length = BigEndian::read32(smf, at + 4);
        const bool track = std::memcmp(smf.data() + at, "MTrk", 4) == 0;
        at += chunkHeader;
        if (length > smf.size() - at)
            break;
        if (track)
            collector.read(smf.subspan(at, length));
        at += length;
    }
    return collector.presets;
}
