#pragma once

// Builds MIDI files in memory for tests, fuzz seeds and benchmarks: standard
// MIDI files of type 0 and 1, RIFF MIDI (.rmi) wrappers, and the malformed or
// merely unusual variants that real-world files show.
//
// A well-formed file that sounds at once:
//
//     const Bytes smf = MidiFileBuilder::song();          // type 0, ~2 s
//     const Bytes rmi = MidiFileBuilder::rmid(smf);       // the same, wrapped
//     MidiFileBuilder::write(dir / "a.mid", smf);
//
// A file built event by event (end-of-track is appended unless omitted):
//
//     MidiFileBuilder b(1, 480);
//     b.track().tempo(0, 500000);
//     b.track().program(0, 0, 0).noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
//     Bytes bytes = b.build();
//
// Variants: headerLength(10) (a longer header, padded with zeros),
// leadingJunk(macBinaryHeader("a.mid")), unknownChunk("XFIH", ...) between
// tracks, track().declaredLength(n) (a length field that lies, e.g. past the
// end of the file), track().withoutEndOfTrack(), declaredTrackCount(n),
// smpteDivision(). Truncation is plain: bytes.resize(n).

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

class MidiTrack {
public:
    MidiTrack& tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter);
    MidiTrack& program(std::uint32_t delta, int channel, int program);
    MidiTrack& noteOn(std::uint32_t delta, int channel, int key, int velocity);
    MidiTrack& noteOff(std::uint32_t delta, int channel, int key);
    // Any event bytes after the delta time (running status, meta, sysex...).
    MidiTrack& raw(std::uint32_t delta, const Bytes& event);
    // Leaves the end-of-track meta event out.
    MidiTrack& withoutEndOfTrack();
    // Writes this value in the chunk's length field instead of the real one.
    MidiTrack& declaredLength(std::uint32_t length);

    // The chunk body: events, then end-of-track unless left out.
    Bytes body() const;
    std::optional<std::uint32_t> lengthField() const { return declaredLength_; }

private:
    Bytes events_;
    bool endOfTrack_ = true;
    std::optional<std::uint32_t> declaredLength_;
};

class MidiFileBuilder {
public:
    explicit MidiFileBuilder(int format = 1, int division = 480);

    // Adds a track after everything added so far. The reference stays valid.
    MidiTrack& track();
    // Adds a chunk of another type after everything added so far.
    MidiFileBuilder& unknownChunk(const std::string& id, const Bytes& body);
    // A header chunk longer than 6 bytes, the extra bytes zero.
    MidiFileBuilder& headerLength(std::uint32_t length);
    // The header's track count, instead of the number of tracks added.
    MidiFileBuilder& declaredTrackCount(int count);
    // SMPTE time division (25 frames/s, 40 ticks a frame).
    MidiFileBuilder& smpteDivision();
    // Bytes before "MThd", such as a MacBinary header.
    MidiFileBuilder& leadingJunk(const Bytes& junk);

    Bytes build() const;

    // A small file that sounds from its first tick: a loud piano chord for
    // `seconds`, then end of track. Type 0, or type 1 with a tempo track and
    // one note track.
    static Bytes song(int format = 0, double seconds = 2.0);
    // A chord at the start (0.4 s), silence, and another chord at `secondChordAt`:
    // a file whose beginning sounds differently from its middle.
    static Bytes twoChords(double secondChordAt = 1.0);
    // A busy type 1 file: `tracks` tracks of quick notes on different
    // channels and instruments for `seconds`.
    static Bytes dense(int tracks = 16, double seconds = 30.0);

    // A RIFF "RMID" file whose "data" chunk holds `smf`.
    static Bytes rmid(const Bytes& smf);

    struct RiffChunk {
        std::string id;
        Bytes body;
        std::optional<std::uint32_t> declaredLength; // a lying length field
    };
    // A RIFF file of any form type; chunks of odd length get their pad byte.
    static Bytes riff(const std::string& formType, const std::vector<RiffChunk>& chunks,
                      std::optional<std::uint32_t> declaredRiffLength = {});

    // A 128-byte MacBinary header naming `name`, as files from old Macs carry.
    static Bytes macBinaryHeader(const std::string& name);

    static void write(const std::filesystem::path& path, const Bytes& bytes);

private:
    struct Chunk {
        std::string id; // "MTrk" for the tracks
        std::size_t trackIndex = 0;
        Bytes body; // other chunks
    };

    int format_;
    int division_;
    std::uint32_t headerLength_ = 6;
    std::optional<int> declaredTrackCount_;
    Bytes leadingJunk_;
    std::deque<MidiTrack> tracks_;
    std::vector<Chunk> chunks_;
};
