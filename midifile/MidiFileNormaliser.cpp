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
constexpr std::uint8_t noteOn = 0x90;
// The longest delta time a variable-length number of 4 bytes holds.
constexpr std::uint64_t maxDelta = 0x0FFFFFFF;
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

bool isEndOfTrack(const TrackEvents::Event& event) {
    return event.status == meta && event.metaType == metaEndOfTrack;
}

bool isNote(const TrackEvents::Event& event) {
    return event.kind() == noteOn && event.data[1] != 0; // velocity 0 releases a note
}

// Writes one track chunk to `out`, event by event, in the plainest form.
class TrackWriter {
public:
    // `eventsLeft`: how many more events the file may hold, over all tracks.
    // `tempoIsFixed`: the file's own tempo events mean nothing and are kept
    // only for their delta time.
    TrackWriter(Bytes& out, std::size_t& eventsLeft, bool tempoIsFixed)
        : out_(out), eventsLeft_(eventsLeft), tempoIsFixed_(tempoIsFixed) {
        out_.insert(out_.end(), {'M', 'T', 'r', 'k', 0, 0, 0, 0});
        start_ = out_.size();
    }

    // False, here and below, when the file would hold more events than
    // were left.
    bool tempo(std::uint32_t microsecondsPerQuarter) {
        if (!startEvent())
            return false;
        out_.insert(out_.end(), {meta, metaTempo, 0x03});
        putBig(out_, microsecondsPerQuarter, 3);
        return true;
    }

    // The events of `tracks`, one track after another: each starts when the
    // one before comes to its end-of-track, or to its last whole, valid
    // event. Copying stops where the track would grow longer than
    // FluidSynth can time.
    bool copy(std::span<const View> tracks) {
        for (const View track : tracks) {
            TrackEvents events(track);
            while (const std::optional<TrackEvents::Event> event = events.next()) {
                if (ticks_ + event->delta > maxTrackTicks)
                    return true;
                ticks_ += event->delta;
                unwritten_ += event->delta;
                if (isEndOfTrack(*event))
                    break;
                if (!startEvent())
                    return false;
                write(*event);
                heardNote_ = heardNote_ || isNote(*event);
            }
        }
        return true;
    }

    // Writes the end-of-track and the chunk's length.
    bool end() {
        if (!startEvent())
            return false;
        out_.insert(out_.end(), {meta, metaEndOfTrack, 0x00});
        Bytes length;
        putBig(length, static_cast<std::uint32_t>(out_.size() - start_), 4);
        std::copy(length.begin(), length.end(),
                  out_.begin() + static_cast<std::ptrdiff_t>(start_ - 4));
        return true;
    }

    bool heardNote() const { return heardNote_; }

private:
    // Takes one of the events left and writes the time since the event
    // before. A time longer than a delta can hold (tracks joined one after
    // another can add up to that) is carried by sequencer-specific events
    // without data before it.
    bool startEvent() {
        while (unwritten_ > maxDelta) {
            if (!takeEvent())
                return false;
            putVarLen(out_, maxDelta);
            out_.insert(out_.end(), {meta, metaSequencerSpecific, 0x00});
            unwritten_ -= maxDelta;
        }
        if (!takeEvent())
            return false;
        putVarLen(out_, static_cast<std::uint32_t>(unwritten_));
        unwritten_ = 0;
        return true;
    }

    bool takeEvent() {
        if (eventsLeft_ == 0)
            return false;
        --eventsLeft_;
        return true;
    }

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

    // A meta event FluidSynth would refuse for its length, a tempo of 0, and
    // any tempo when the tempo is fixed, become sequencer-specific ones,
    // which carry their delta time and are ignored.
    std::uint8_t metaTypeFluidSynthTakes(const TrackEvents::Event& event) const {
        const std::optional<std::uint32_t> required = requiredMetaLength(event.metaType);
        const bool tempo = event.metaType == metaTempo;
        const bool zeroTempo = tempo && event.data.size() == 3 && event.data[0] == 0 &&
                               event.data[1] == 0 && event.data[2] == 0;
        if ((required && *required != event.data.size()) || zeroTempo || (tempo && tempoIsFixed_))
            return metaSequencerSpecific;
        return event.metaType;
    }

    Bytes& out_;
    std::size_t& eventsLeft_;
    const bool tempoIsFixed_;
    std::size_t start_ = 0;       // where the chunk's body starts in `out_`
    std::uint64_t ticks_ = 0;     // the time of the last event read
    std::uint64_t unwritten_ = 0; // ticks since the last event written
    bool heardNote_ = false;
};

// The timing of beats and ticks that FluidSynth plays a file timed in SMPTE
// frames with: a quarter note of one second (1.001 for 29.97 frames a
// second), divided into as many ticks as a second holds.
struct QuarterTiming {
    std::uint16_t ticksPerQuarter = 0;
    std::uint32_t microsecondsPerQuarter = 0;
};

// `division`'s high byte is minus the frames a second (-29 stands for
// 29.97, 30 slowed down by 1.001), its low byte the ticks a frame. Nothing,
// with `why` said, for any other frame rate or 0 ticks a frame.
std::optional<QuarterTiming> quarterTimingOf(std::uint16_t division, std::string& why) {
    const int framesPerSecond = -static_cast<std::int8_t>(division >> 8);
    const int ticksPerFrame = division & 0xFF;
    if (framesPerSecond != 24 && framesPerSecond != 25 && framesPerSecond != 29 &&
        framesPerSecond != 30) {
        why = "SMPTE time division of an unknown frame rate (" + std::to_string(-framesPerSecond) +
              ")";
        return std::nullopt;
    }
    if (ticksPerFrame == 0) {
        why = "SMPTE time division of 0 ticks a frame";
        return std::nullopt;
    }
    // 30 frames of 255 ticks, the most there can be, fit in a division.
    static_assert(30 * 0xFF <= 0x7FFF);
    const bool dropFrame = framesPerSecond == 29;
    return QuarterTiming{
        static_cast<std::uint16_t>((dropFrame ? 30 : framesPerSecond) * ticksPerFrame),
        dropFrame ? 1'001'000u : 1'000'000u};
}

MidiFileNormaliser::Result
refuse(std::string why, MidiFileNormaliser::Refusal kind = MidiFileNormaliser::Refusal::Damaged) {
    return {{}, std::move(why), kind};
}

} // namespace

std::optional<std::size_t> MidiFileNormaliser::findHeader(View file) {
    if (file.size() < 4)
        return std::nullopt;
    const std::size_t last = std::min(file.size() - 4, headerSearchLimit);
    for (std::size_t at = 0; at <= last; ++at) {
        if (std::memcmp(file.data() + at, "MThd", 4) == 0)
            return at;
    }
    return std::nullopt;
}

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
    std::optional<QuarterTiming> smpte;
    if ((division & 0x8000) != 0) {
        std::string why;
        smpte = quarterTimingOf(division, why);
        if (!smpte)
            return refuse(why);
    }
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

    // The patterns of a format 2 file play one after another: FluidSynth,
    // which plays all tracks at once, gets them joined into one.
    const std::size_t tracksJoined = format == 2 ? tracks.size() : 1;
    Result result;
    Bytes& out = result.bytes;
    // Room for the usual case, a copy no larger than the file, so that a
    // large file is not copied over and over as the copy grows.
    out.reserve(rest.size());
    out.insert(out.end(), {'M', 'T', 'h', 'd'});
    putBig(out, 6, 4);
    putBig(out, format == 2 ? 0 : format, 2);
    putBig(out, static_cast<std::uint32_t>(tracks.size() / tracksJoined), 2);
    putBig(out, smpte ? smpte->ticksPerQuarter : division, 2);
    std::size_t eventsLeft = maxEvents;
    bool heardNote = false;
    for (std::size_t first = 0; first < tracks.size(); first += tracksJoined) {
        TrackWriter track(out, eventsLeft, smpte.has_value());
        const bool written = (first > 0 || !smpte || track.tempo(smpte->microsecondsPerQuarter)) &&
                             track.copy(std::span(tracks).subspan(first, tracksJoined)) &&
                             track.end();
        if (!written)
            return refuse("more than " + std::to_string(maxEvents) + " events",
                          Refusal::TooManyEvents);
        heardNote = heardNote || track.heardNote();
    }
    if (!heardNote)
        return refuse("no note in any track", Refusal::NoNotes);
    return result;
}
