#include "platform/MidiFileNormaliser.h"

#include "platform/BigEndian.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;
using View = std::span<const std::uint8_t>;

constexpr std::uint8_t sysex = 0xF0;
constexpr std::uint8_t sysexEscape = 0xF7;
constexpr std::uint8_t meta = 0xFF;
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

bool isChunkId(View bytes, std::size_t at) {
    return std::all_of(bytes.begin() + at, bytes.begin() + at + 4,
                       [](std::uint8_t c) { return c >= 0x20 && c <= 0x7E; });
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

// Reads one track's events and appends them to `out` in the plainest form,
// ending the track at the first thing that is not a whole, valid event.
class TrackCopier {
public:
    // `eventsLeft`: how many more events the file may hold, over all tracks.
    TrackCopier(View body, Bytes& out, std::size_t& eventsLeft)
        : in_(body), out_(out), eventsLeft_(eventsLeft) {}

    // False when the track holds more events than were left.
    bool copy() {
        std::uint64_t ticks = 0;
        while (pos_ < in_.size()) {
            if (eventsLeft_ == 0)
                return false;
            std::uint32_t delta = 0;
            if (!readVarLen(delta) || (ticks += delta) > maxTrackTicks)
                break;
            if (!copyEvent(delta))
                break;
            --eventsLeft_;
            if (ended_)
                return true;
        }
        putVarLen(out_, 0);
        out_.insert(out_.end(), {meta, metaEndOfTrack, 0x00});
        return true;
    }

private:
    bool readVarLen(std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            if (pos_ >= in_.size())
                return false;
            const std::uint8_t c = in_[pos_++];
            value = value << 7 | (c & 0x7F);
            if ((c & 0x80) == 0)
                return true;
        }
        return false;
    }

    // The length of a sysex or meta body, checked against what is left.
    bool readLength(std::uint32_t& length) {
        return readVarLen(length) && length <= in_.size() - pos_;
    }

    bool copyEvent(std::uint32_t delta) {
        if (pos_ >= in_.size())
            return false;
        std::uint8_t status = in_[pos_];
        if (status < 0x80) {
            // Running status; at a track's start there is none to run on.
            if (running_ == 0)
                return false;
            status = running_;
        } else {
            ++pos_;
        }
        if (status < 0xF0)
            return copyChannelEvent(delta, status);
        // Meta and sysex events leave the running status alone: strictly they
        // cancel it, but files that run on across them play in other players.
        if (status == sysex || status == sysexEscape)
            return copySysex(delta, status);
        if (status == meta)
            return copyMeta(delta);
        return false; // system common and real-time bytes have no place in a file
    }

    bool copyChannelEvent(std::uint32_t delta, std::uint8_t status) {
        const std::size_t size = (status & 0xE0) == 0xC0 ? 1 : 2; // program, channel pressure
        if (in_.size() - pos_ < size)
            return false;
        for (std::size_t i = 0; i < size; ++i) {
            if (in_[pos_ + i] >= 0x80)
                return false;
        }
        putVarLen(out_, delta);
        out_.push_back(status);
        out_.insert(out_.end(), in_.begin() + pos_, in_.begin() + pos_ + size);
        pos_ += size;
        running_ = status;
        return true;
    }

    bool copySysex(std::uint32_t delta, std::uint8_t status) {
        std::uint32_t length = 0;
        if (!readLength(length))
            return false;
        putVarLen(out_, delta);
        if (status == sysexEscape)
            out_.insert(out_.end(), {meta, metaSequencerSpecific}); // FluidSynth knows no F7
        else
            out_.push_back(sysex);
        copyBody(length);
        return true;
    }

    bool copyMeta(std::uint32_t delta) {
        if (pos_ >= in_.size())
            return false;
        std::uint8_t type = in_[pos_++];
        std::uint32_t length = 0;
        if (!readLength(length))
            return false;
        putVarLen(out_, delta);
        if (type == metaEndOfTrack) {
            out_.insert(out_.end(), {meta, metaEndOfTrack, 0x00});
            ended_ = true;
            return true;
        }
        const std::optional<std::uint32_t> required = requiredMetaLength(type);
        const bool zeroTempo = type == metaTempo && length == 3 && in_[pos_] == 0 &&
                               in_[pos_ + 1] == 0 && in_[pos_ + 2] == 0;
        if ((required && *required != length) || zeroTempo)
            type = metaSequencerSpecific;
        out_.push_back(meta);
        out_.push_back(type);
        copyBody(length);
        return true;
    }

    void copyBody(std::uint32_t length) {
        putVarLen(out_, length);
        out_.insert(out_.end(), in_.begin() + pos_, in_.begin() + pos_ + length);
        pos_ += length;
    }

    View in_;
    std::size_t pos_ = 0;
    std::uint8_t running_ = 0;
    bool ended_ = false;
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
    const std::uint64_t headerLength = BigEndian::read32(rest, 4);
    if (headerLength < 6 || headerLength > rest.size() - 8)
        return refuse("the MIDI header's length is wrong");
    const std::uint16_t format = BigEndian::read16(rest, 8);
    const std::uint16_t declaredTracks = BigEndian::read16(rest, 10);
    const std::uint16_t division = BigEndian::read16(rest, 12);
    if (format > 2)
        return refuse("unknown MIDI file format");
    if ((division & 0x8000) != 0)
        return refuse("SMPTE time division is not supported");
    if (division == 0)
        return refuse("a time division of 0");
    if (declaredTracks > maxTracks)
        return refuse("more than 128 tracks");

    std::vector<View> tracks;
    std::uint64_t at = 8 + headerLength;
    while (tracks.size() < declaredTracks && at + 8 <= rest.size() && isChunkId(rest, at)) {
        const std::uint64_t length = BigEndian::read32(rest, at + 4);
        const std::uint64_t body = at + 8;
        const std::uint64_t available = rest.size() - body;
        if (std::memcmp(rest.data() + at, "MTrk", 4) == 0)
            tracks.push_back(rest.subspan(body, std::min(length, available)));
        else if (length > available)
            break;
        at = body + length;
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
