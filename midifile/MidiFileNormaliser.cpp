#include "midifile/MidiFileNormaliser.h"

#include "midifile/Chunks.h"
#include "midifile/TrackEvents.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

using Bytes = std::vector<std::uint8_t>;
using View = std::span<const std::uint8_t>;

constexpr std::uint8_t meta = TrackEvents::meta;
constexpr std::uint8_t metaEndOfTrack = 0x2F;
constexpr std::uint8_t metaTempo = 0x51;
constexpr std::uint8_t metaSequencerSpecific = 0x7F;
// FluidSynth keeps track time in int; stay far below its limit.
constexpr std::uint64_t maxTrackTicks = 0x3FFFFFFF;

void putBig(Bytes& out, std::uint32_t value, int size) {
    for (int shift = (size - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putVarLen(Bytes& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(groups[--count] | 0x80);
    out.push_back(groups[0]);
}

bool isChunkId(std::string_view id) {
    return std::all_of(id.begin(), id.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

// FluidSynth refuses these meta events unless they have exactly this length.
std::optional<std::uint32_t> requiredMetaLength(std::uint8_t type) {
    switch (type) {
    case metaTempo:
        return 3;
    case 0x54: // SMPTE offset
        return 5;
    case 0x58: // time signature
        return 4;
    case 0x59: // key signature
        return 2;
    default:
        return std::nullopt;
    }
}

// Copies one track's events to `out` in the plainest form, ending the track
// at the first thing that is not a whole, valid event.
class TrackCopier {
public:
    // `eventsLeft`: how many more events the file may hold, over all tracks.
    TrackCopier(View body, Bytes& out, std::size_t& eventsLeft)
        : in_(body), out_(out), eventsLeft_(eventsLeft) {}

    // False when the track holds more events than were left.
    bool copy() {
        std::uint64_t ticks = 0;
        for (;;) {
            std::optional<TrackEvents::Event> event = in_.next();
            if (!event)
                break;
            if (eventsLeft_ == 0)
                return false;
            if ((ticks += event->delta) > maxTrackTicks)
                break;
            --eventsLeft_;
            putVarLen(out_, event->delta);
            if (event->status == TrackEvents::meta && event->metaType == metaEndOfTrack) {
                out_.insert(out_.end(), {meta, metaEndOfTrack, 0x00});
                return true;
            }
            write(*event);
        }
        putVarLen(out_, 0);
        out_.insert(out_.end(), {meta, metaEndOfTrack, 0x00});
        return true;
    }

private:
    void write(const TrackEvents::Event& event) {
        if (event.isChannelMessage()) {
            out_.push_back(event.status);
            out_.insert(out_.end(), event.data.begin(), event.data.end());
            return;
        }
        if (event.status == TrackEvents::sysexEscape)
            out_.insert(out_.end(), {meta, metaSequencerSpecific}); // FluidSynth knows no F7
        else if (event.status == TrackEvents::sysex)
            out_.push_back(TrackEvents::sysex);
        else
            out_.insert(out_.end(), {meta, metaTypeFluidSynthTakes(event)});
        putVarLen(out_, static_cast<std::uint32_t>(event.data.size()));
        out_.insert(out_.end(), event.data.begin(), event.data.end());
    }

    // A meta event FluidSynth would refuse for its length, and a tempo of
    // 0, become sequencer-specific ones, which carry their delta time and
    // are ignored.
    static std::uint8_t metaTypeFluidSynthTakes(const TrackEvents::Event& event) {
        const std::optional<std::uint32_t> required = requiredMetaLength(event.metaType);
        const bool zeroTempo = event.metaType == metaTempo && event.data.size() == 3 &&
                               event.data[0] == 0 && event.data[1] == 0 && event.data[2] == 0;
        if ((required && *required != event.data.size()) || zeroTempo)
            return metaSequencerSpecific;
        return event.metaType;
    }

    TrackEvents in_;
    Bytes& out_;
    std::size_t& eventsLeft_;
};

std::optional<std::size_t> findHeader(View file) {
    if (file.size() < 4)
        return std::nullopt;
    const std::size_t last = std::min(file.size() - 4, MidiFileNormaliser::headerSearchLimit);
    for (std::size_t at = 0; at <= last; ++at) {
        if (std::memcmp(file.data() + at, "MThd", 4) == 0)
            return at;
    }
    return std::nullopt;
}

MidiFileNormaliser::Result
refuse(std::string why, MidiFileNormaliser::Refusal kind = MidiFileNormaliser::Refusal::Damaged) {
    return {{}, std::move(why), kind};
}

} // namespace

MidiFileNormaliser::Result MidiFileNormaliser::normalise(View file) {
    const std::optional<std::size_t> header = findHeader(file);
    if (!header)
        return refuse("not a MIDI file", Refusal::NotMidi);
    const View rest = file.subspan(*header);
    if (rest.size() < 14)
        return refuse("the MIDI header is cut short");
    Chunks chunks(rest, Chunks::Layout::Midi);
    const std::optional<Chunks::Chunk> headerChunk = chunks.next();
    if (headerChunk->cut || headerChunk->body.size() < 6)
        return refuse("the MIDI header's length is wrong");
    ByteReader fields(headerChunk->body);
    const std::uint16_t format = *fields.bigEndian16();
    const std::uint16_t declaredTracks = *fields.bigEndian16();
    const std::uint16_t division = *fields.bigEndian16();
    if (format > 2)
        return refuse("unknown MIDI file format");
    if ((division & 0x8000) != 0)
        return refuse("SMPTE time division is not supported");
    if (division == 0)
        return refuse("a time division of 0");
    if (declaredTracks > maxTracks)
        return refuse("more than 128 tracks");

    std::vector<View> tracks;
    while (tracks.size() < declaredTracks) {
        const std::optional<Chunks::Chunk> chunk = chunks.next();
        if (!chunk || !isChunkId(chunk->id))
            break;
        if (chunk->id == "MTrk")
            tracks.push_back(chunk->body);
    }
    if (tracks.empty())
        return refuse("no track");

    Result result;
    Bytes& out = result.bytes;
    // Room for the usual case, a copy no larger than the file, so that a
    // large file is not copied over and over as the copy grows.
    out.reserve(rest.size());
    out.insert(out.end(), {'M', 'T', 'h', 'd'});
    putBig(out, 6, 4);
    putBig(out, format, 2);
    putBig(out, static_cast<std::uint32_t>(tracks.size()), 2);
    putBig(out, division, 2);
    std::size_t eventsLeft = maxEvents;
    for (const View track : tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k', 0, 0, 0, 0});
        const std::size_t start = out.size();
        if (!TrackCopier(track, out, eventsLeft).copy())
            return refuse("more than " + std::to_string(maxEvents) + " events",
                          Refusal::TooManyEvents);
        Bytes length;
        putBig(length, static_cast<std::uint32_t>(out.size() - start), 4);
        std::copy(length.begin(), length.end(),
                  out.begin() + static_cast<std::ptrdiff_t>(start - 4));
    }
    return result;
}
