#include "support/MidiFileBuilder.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace {

// Written apart from the device's own encoder, so that tests check one
// against the other.
void putVarLen(Bytes& out, std::uint32_t value) {
    int shift = 28;
    while (shift > 0 && (value >> shift) == 0)
        shift -= 7;
    for (; shift > 0; shift -= 7)
        out.push_back(static_cast<std::uint8_t>(((value >> shift) & 0x7F) | 0x80));
    out.push_back(value & 0x7F);
}

void putBig(Bytes& out, std::uint32_t value, int size) {
    for (int shift = (size - 1) * 8; shift >= 0; shift -= 8)
        out.push_back((value >> shift) & 0xFF);
}

void putLittle32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back((value >> shift) & 0xFF);
}

void putId(Bytes& out, const std::string& id) {
    for (std::size_t i = 0; i < 4; ++i)
        out.push_back(i < id.size() ? static_cast<std::uint8_t>(id[i]) : ' ');
}

std::uint8_t status(int kind, int channel) {
    return static_cast<std::uint8_t>(kind | (channel & 0x0F));
}

std::uint8_t data(int value) {
    return static_cast<std::uint8_t>(value & 0x7F);
}

// Ticks at 480 a quarter and 120 beats a minute: 960 a second.
std::uint32_t ticksFor(double seconds) {
    return static_cast<std::uint32_t>(std::lround(seconds * 960));
}

void chord(MidiTrack& track, std::uint32_t delta, double seconds, std::initializer_list<int> keys) {
    for (int key : keys) {
        track.noteOn(delta, 0, key, 120);
        delta = 0;
    }
    std::uint32_t length = ticksFor(seconds);
    for (int key : keys) {
        track.noteOff(length, 0, key);
        length = 0;
    }
}

} // namespace

MidiTrack& MidiTrack::tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter) {
    Bytes event{0xFF, 0x51, 0x03};
    putBig(event, microsecondsPerQuarter, 3);
    return raw(delta, event);
}

MidiTrack& MidiTrack::program(std::uint32_t delta, int channel, int program) {
    return raw(delta, {status(0xC0, channel), data(program)});
}

MidiTrack& MidiTrack::noteOn(std::uint32_t delta, int channel, int key, int velocity) {
    return raw(delta, {status(0x90, channel), data(key), data(velocity)});
}

MidiTrack& MidiTrack::noteOff(std::uint32_t delta, int channel, int key) {
    return raw(delta, {status(0x80, channel), data(key), 0x40});
}

MidiTrack& MidiTrack::raw(std::uint32_t delta, const Bytes& event) {
    putVarLen(events_, delta);
    events_.insert(events_.end(), event.begin(), event.end());
    return *this;
}

MidiTrack& MidiTrack::withoutEndOfTrack() {
    endOfTrack_ = false;
    return *this;
}

MidiTrack& MidiTrack::declaredLength(std::uint32_t length) {
    declaredLength_ = length;
    return *this;
}

Bytes MidiTrack::body() const {
    Bytes out = events_;
    if (endOfTrack_)
        out.insert(out.end(), {0x00, 0xFF, 0x2F, 0x00});
    return out;
}

MidiFileBuilder::MidiFileBuilder(int format, int division) : format_(format), division_(division) {}

MidiTrack& MidiFileBuilder::track() {
    chunks_.push_back({"MTrk", tracks_.size(), {}});
    return tracks_.emplace_back();
}

MidiFileBuilder& MidiFileBuilder::unknownChunk(const std::string& id, const Bytes& body) {
    chunks_.push_back({id, 0, body});
    return *this;
}

MidiFileBuilder& MidiFileBuilder::headerLength(std::uint32_t length) {
    headerLength_ = length;
    return *this;
}

MidiFileBuilder& MidiFileBuilder::declaredTrackCount(int count) {
    declaredTrackCount_ = count;
    return *this;
}

MidiFileBuilder& MidiFileBuilder::smpteDivision() {
    division_ = 0xE728; // -25 frames a second, 40 ticks a frame
    return *this;
}

MidiFileBuilder& MidiFileBuilder::leadingJunk(const Bytes& junk) {
    leadingJunk_ = junk;
    return *this;
}

Bytes MidiFileBuilder::build() const {
    Bytes out = leadingJunk_;
    putId(out, "MThd");
    putBig(out, headerLength_, 4);
    Bytes header;
    putBig(header, format_, 2);
    putBig(header, declaredTrackCount_.value_or(static_cast<int>(tracks_.size())), 2);
    putBig(header, division_, 2);
    header.resize(headerLength_, 0); // longer: zero padding; shorter: cut
    out.insert(out.end(), header.begin(), header.end());
    for (const Chunk& chunk : chunks_) {
        const bool isTrack = chunk.id == "MTrk";
        const Bytes body = isTrack ? tracks_[chunk.trackIndex].body() : chunk.body;
        const std::optional<std::uint32_t> declared =
            isTrack ? tracks_[chunk.trackIndex].lengthField() : std::nullopt;
        putId(out, chunk.id);
        putBig(out, declared.value_or(static_cast<std::uint32_t>(body.size())), 4);
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

Bytes MidiFileBuilder::song(int format, double seconds) {
    MidiFileBuilder builder(format, 480);
    MidiTrack* notes = &builder.track();
    notes->tempo(0, 500000);
    if (format == 1)
        notes = &builder.track();
    notes->program(0, 0, 0);
    chord(*notes, 0, seconds, {60, 64, 67});
    return builder.build();
}

Bytes MidiFileBuilder::twoChords(double secondChordAt) {
    MidiFileBuilder builder(0, 480);
    MidiTrack& notes = builder.track();
    notes.tempo(0, 500000).program(0, 0, 0);
    chord(notes, 0, 0.4, {60, 64, 67});
    chord(notes, ticksFor(secondChordAt - 0.4), 0.4, {48, 55, 72});
    return builder.build();
}

Bytes MidiFileBuilder::dense(int tracks, double seconds) {
    MidiFileBuilder builder(1, 480);
    builder.track().tempo(0, 500000);
    const std::uint32_t step = 60; // a sixteenth at 480 ticks a quarter
    const std::uint32_t steps = ticksFor(seconds) / step;
    for (int t = 0; t < tracks; ++t) {
        const int channel = t % 16;
        MidiTrack& track = builder.track();
        track.program(0, channel, (t * 8) % 128);
        for (std::uint32_t s = 0; s < steps; ++s) {
            const int key = 36 + static_cast<int>((s * 7 + t * 5) % 48);
            track.noteOn(s == 0 ? 0 : step / 2, channel, key, 80 + (s % 40));
            track.noteOff(step / 2, channel, key);
        }
    }
    return builder.build();
}

Bytes MidiFileBuilder::rmid(const Bytes& smf) {
    return riff("RMID", {{"data", smf, {}}});
}

Bytes MidiFileBuilder::riff(const std::string& formType, const std::vector<RiffChunk>& chunks,
                            std::optional<std::uint32_t> declaredRiffLength) {
    Bytes body;
    putId(body, formType);
    for (const RiffChunk& chunk : chunks) {
        putId(body, chunk.id);
        putLittle32(body,
                    chunk.declaredLength.value_or(static_cast<std::uint32_t>(chunk.body.size())));
        body.insert(body.end(), chunk.body.begin(), chunk.body.end());
        if (chunk.body.size() % 2 != 0)
            body.push_back(0);
    }
    Bytes out;
    putId(out, "RIFF");
    putLittle32(out, declaredRiffLength.value_or(static_cast<std::uint32_t>(body.size())));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes MidiFileBuilder::macBinaryHeader(const std::string& name) {
    Bytes header(128, 0);
    const std::size_t length = std::min<std::size_t>(name.size(), 63);
    header[1] = static_cast<std::uint8_t>(length);
    std::copy_n(name.begin(), length, header.begin() + 2);
    std::copy_n("Midi", 4, header.begin() + 65); // file type
    std::copy_n("TVOD", 4, header.begin() + 69); // creator
    return header;
}

void MidiFileBuilder::write(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}
