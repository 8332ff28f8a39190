// Writes the fuzz targets' seed corpus: small MIDI files of type 0 and 1 with
// every kind of event, the malformed and unusual files found in the wild,
// RIFF MIDI wrappers, and list files with every construct of their format
// in the character sets the codec meets, and a small SoundFont. Built in the fuzz tree and run as
//     cmake --build build/fuzz --target make_corpus
//     build/fuzz/make_corpus tests/fuzz/corpus
// it replaces the seed-* files of each target's folder and leaves the
// regression inputs alone.
#include "ListFileInput.h"

#include "playlist/ListFileCodec.h"
#include "support/MidiFileBuilder.h"

#include <filesystem>
#include <iostream>
#include <map>

namespace fs = std::filesystem;

namespace {

using Seeds = std::map<std::string, Bytes>;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// A track with one event of each kind a file may hold.
MidiFileBuilder everyEvent(int format) {
    MidiFileBuilder builder(format, 96);
    MidiTrack& track = builder.track();
    track.tempo(0, 400000)
        .raw(0, {0xFF, 0x03, 0x04, 'S', 'o', 'n', 'g'})     // track name
        .raw(0, {0xFF, 0x01, 0x02, 'h', 'i'})               // text
        .raw(0, {0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08}) // time signature
        .raw(0, {0xFF, 0x59, 0x02, 0x00, 0x00})             // key signature
        .raw(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}) // GM system on
        .raw(0, {0xF7, 0x02, 0x43, 0x10})                   // escaped sysex
        .raw(0, {0xB0, 0x07, 0x64})                         // volume
        .raw(0, {0xB0, 0x00, 0x00})                         // bank select
        .program(0, 0, 24)
        .raw(0, {0xE0, 0x00, 0x40}) // pitch bend centre
        .noteOn(0, 0, 60, 100)
        .raw(0, {64, 100})       // running status
        .raw(24, {0xA0, 60, 50}) // key pressure
        .raw(0, {0xD0, 70})      // channel pressure
        .noteOn(24, 9, 36, 110)  // drums
        .noteOff(24, 0, 60)
        .raw(0, {0x90, 64, 0})                         // note on as note off
        .raw(0, {0xFF, 0x06, 0x01, 'x'})               // marker
        .raw(0, {0xFF, 0x7F, 0x03, 0x00, 0x00, 0x41}); // sequencer-specific
    return builder;
}

// System exclusive messages the synthesizer acts on: resets, master volume,
// tuning, drum parts.
MidiFileBuilder sysexMessages() {
    MidiFileBuilder builder(0, 96);
    builder.track()
        .raw(0, {0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}) // GS
        .raw(0, {0xF0, 0x08, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7})             // XG
        .raw(0, {0xF0, 0x07, 0x7F, 0x7F, 0x04, 0x01, 0x00, 0x60, 0xF7}) // master volume
        .raw(0, {0xF0, 0x0B, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 0x3C, 0x3D, 0x10, 0x00,
                 0xF7}) // one note retuned
        .raw(0, {0xF0, 0x14, 0x7E, 0x7F, 0x08, 0x08, 0x03, 0x7F, 0x7F, 0x40, 0x41,
                 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0xF7}) // octave tuning
        .raw(0, {0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x11, 0x15, 0x01, 0x19,
                 0xF7}) // channel 2 as a drum part
        .noteOn(0, 1, 38, 100)
        .noteOn(0, 0, 60, 100)
        .noteOff(48, 0, 60)
        .noteOff(0, 1, 38);
    return builder;
}

// Controllers and the modes they switch: bank select, registered and
// non-registered parameters, portamento, legato, sustain, resets.
MidiFileBuilder controllers() {
    MidiFileBuilder builder(0, 96);
    MidiTrack& track = builder.track();
    for (const Bytes& event :
         std::initializer_list<Bytes>{{0xB0, 0x00, 0x01},
                                      {0xB0, 0x20, 0x00},
                                      {0xC0, 0x30}, // bank 128 + program
                                      {0xB0, 0x65, 0x00},
                                      {0xB0, 0x64, 0x00},
                                      {0xB0, 0x06, 0x0C}, // pitch bend range
                                      {0xB0, 0x63, 0x01},
                                      {0xB0, 0x62, 0x08},
                                      {0xB0, 0x06, 0x50}, // NRPN vibrato rate
                                      {0xB0, 0x41, 0x7F},
                                      {0xB0, 0x05, 0x10},
                                      {0xB0, 0x54, 0x3C}, // portamento
                                      {0xB0, 0x44, 0x7F},
                                      {0xB0, 0x40, 0x7F},
                                      {0xB0, 0x01, 0x40}, // legato, sustain, mod
                                      {0xB0, 0x0A, 0x00},
                                      {0xB0, 0x5B, 0x7F},
                                      {0xB0, 0x5D, 0x7F}, // pan, reverb, chorus
                                      {0xE0, 0x7F, 0x7F}})
        track.raw(0, event);
    track.noteOn(0, 0, 60, 127).noteOn(24, 0, 62, 127).noteOff(24, 0, 60).noteOff(0, 0, 62);
    track.raw(0, {0xB0, 0x79, 0x00}).raw(0, {0xB0, 0x7B, 0x00}).raw(0, {0xB0, 0x78, 0x00});
    return builder;
}

MidiFileBuilder oneNote(int format = 0) {
    MidiFileBuilder builder(format, 480);
    builder.track().program(0, 0, 0).noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
    return builder;
}

Seeds midiSeeds() {
    Seeds seeds;
    seeds["type0.mid"] = MidiFileBuilder::song(0, 0.5);
    seeds["type1.mid"] = MidiFileBuilder::song(1, 0.5);
    seeds["type2.mid"] = oneNote(2).build();
    seeds["two-chords.mid"] = MidiFileBuilder::twoChords(0.6);
    seeds["dense.mid"] = MidiFileBuilder::dense(4, 0.5);
    seeds["every-event-type0.mid"] = everyEvent(0).build();
    seeds["every-event-type1.mid"] = everyEvent(1).build();
    seeds["sysex.mid"] = sysexMessages().build();
    seeds["controllers.mid"] = controllers().build();
    seeds["long-header.mid"] = oneNote().headerLength(12).build();
    seeds["macbinary.mid"] =
        oneNote().leadingJunk(MidiFileBuilder::macBinaryHeader("a.mid")).build();

    MidiFileBuilder unknown(1, 480);
    unknown.unknownChunk("XFIH", {1, 2, 3});
    unknown.track().tempo(0, 500000);
    unknown.unknownChunk("XFKM", {0x80, 0x81});
    unknown.track().program(0, 1, 40).noteOn(0, 1, 67, 90).noteOff(240, 1, 67);
    seeds["unknown-chunks.mid"] = unknown.build();

    MidiFileBuilder noEnd(0, 480);
    noEnd.track().noteOn(0, 0, 60, 100).noteOff(480, 0, 60).withoutEndOfTrack();
    seeds["no-end-of-track.mid"] = noEnd.build();

    MidiFileBuilder overrun(1, 480);
    overrun.track().tempo(0, 500000);
    overrun.track().noteOn(0, 0, 60, 100).declaredLength(1000).withoutEndOfTrack();
    seeds["track-past-end.mid"] = overrun.build();

    seeds["more-tracks-declared.mid"] = oneNote(1).declaredTrackCount(3).build();
    seeds["fewer-tracks-declared.mid"] = [] {
        MidiFileBuilder builder(1, 480);
        builder.track().tempo(0, 500000);
        builder.track().noteOn(0, 0, 60, 100);
        return builder.declaredTrackCount(1).build();
    }();
    seeds["smpte.mid"] = oneNote().smpteDivision().build();

    MidiFileBuilder oddMeta(0, 480);
    oddMeta.track()
        .raw(10, {0xFF, 0x51, 0x02, 0x07, 0xA1})
        .raw(0, {0xFF, 0x51, 0x03, 0, 0, 0})
        .raw(0, {0xFF, 0x58, 0x00})
        .noteOn(0, 0, 60, 100)
        .raw(50, {0xFF, 0x2F, 0x01, 0x00});
    seeds["odd-meta-lengths.mid"] = oddMeta.build();

    MidiFileBuilder runningAtStart(0, 480);
    runningAtStart.track().raw(0, {60, 100}).noteOn(0, 0, 60, 100);
    seeds["running-status-at-start.mid"] = runningAtStart.build();

    Bytes truncated = MidiFileBuilder::song(1, 0.5);
    truncated.resize(truncated.size() - 7);
    seeds["truncated.mid"] = truncated;
    return seeds;
}

Seeds riffSeeds() {
    const Bytes smf = MidiFileBuilder::song(0, 0.5);
    Seeds seeds;
    seeds["plain.rmi"] = MidiFileBuilder::rmid(smf);
    seeds["type1.rmi"] = MidiFileBuilder::rmid(MidiFileBuilder::song(1, 0.5));
    seeds["info-before-data.rmi"] = MidiFileBuilder::riff(
        "RMID",
        {{"LIST", bytesOf(std::string("INFOINAM\x03\0\0\0abc", 15)), {}}, {"data", smf, {}}});
    seeds["odd-chunk-padded.rmi"] =
        MidiFileBuilder::riff("RMID", {{"DISP", {1, 2, 3}, {}}, {"data", smf, {}}});
    seeds["data-past-end.rmi"] = MidiFileBuilder::riff(
        "RMID", {{"data", smf, static_cast<std::uint32_t>(smf.size() + 100)}});
    seeds["wrong-riff-size.rmi"] = MidiFileBuilder::riff("RMID", {{"data", smf, {}}}, 0xFFFFFFFF);
    seeds["no-data.rmi"] = MidiFileBuilder::riff("RMID", {{"LIST", bytesOf("INFO"), {}}});
    seeds["wave.wav"] = MidiFileBuilder::riff("WAVE", {{"fmt ", Bytes(16, 0), {}}});
    return seeds;
}

// The bytes of a list file, with the two bytes that choose how it is read.
Bytes listSeed(ListFileInput::Operation operation, const std::string& codeset,
               const std::string& payload, std::size_t maxEntries = ListFileInput::unlimited) {
    return bytesOf(ListFileInput::header(operation, codeset, maxEntries) + payload);
}

Bytes decodeSeed(const std::string& codeset, const std::string& payload,
                 std::size_t maxEntries = ListFileInput::unlimited) {
    return listSeed(ListFileInput::Operation::Decode, codeset, payload, maxEntries);
}

Seeds listFileSeeds() {
    using ListFileInput::Operation;
    Seeds seeds;
    seeds["example.lst"] = decodeSeed("UTF-8", "\"C:\\MIDI\\a, b.mid\"\r\n");
    seeds["empty.lst"] = decodeSeed("UTF-8", "");
    seeds["empty-entry.lst"] = decodeSeed("UTF-8", "\"\"\r\n");
    seeds["every-construct.lst"] = decodeSeed(
        "UTF-8", "\xEF\xBB\xBF\"a\",\"b\"\r\n  plain, with spaces  \r\n\r\n\"q\" junk,x\rlone\n"
                 "tab\there\n\"never closed,\r\n   ");
    seeds["japanese.lst"] = decodeSeed("UTF-8", "\"/home/曲/歌.mid\"\r\n\"ソ表能\"\r\n");
    seeds["too-many.lst"] = decodeSeed("UTF-8", "a\r\nb\r\nc\r\n", 2);
    seeds["invalid-utf8.lst"] = decodeSeed("UTF-8", "\"a\xC3\"\r\n");
    seeds["cp932-trail-5c.lst"] = decodeSeed("SHIFT_JIS", "\"C:\\\x83\x5C\x95\x5C\x94\x5C\"\r\n");
    seeds["cp932-truncated.lst"] = decodeSeed("SHIFT_JIS", "\"\x83\"\r\n\x83");
    const std::vector<std::string> entries = {"C:\\MIDI\\a, b.mid", "", " x ", "曲.mid"};
    for (const char* codeset : {"CP932", "EUC-JP", "GB18030", "BIG5", "EUC-KR"})
        seeds[std::string("entries-") + codeset + ".lst"] =
            decodeSeed(codeset, ListFileCodec::encode(entries, codeset));
    seeds["latin1.lst"] =
        decodeSeed("ISO-8859-1", ListFileCodec::encode({"caf\xC3\xA9.mid", "b"}, "ISO-8859-1"));
    seeds["encode-plain.bin"] =
        listSeed(Operation::Encode, "UTF-8", std::string("a\0b, c\0\0 d ", 11));
    seeds["encode-quote.bin"] = listSeed(Operation::Encode, "UTF-8", "say \"hi\"");
    seeds["encode-yen.bin"] = listSeed(Operation::Encode, "SHIFT_JIS", "C:\\\xC2\xA5.mid");
    seeds["encode-japanese.bin"] =
        listSeed(Operation::Encode, "EUC-JP", std::string("曲\0ソ表", 10));
    return seeds;
}

// A chunk inside a RIFF list: its id, its length, its bytes.
Bytes chunk(const std::string& id, const Bytes& body) {
    Bytes bytes(id.begin(), id.end());
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(body.size() >> shift));
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

// Records of 16-bit words, each name (presets', instruments', samples')
// 20 bytes long.
Bytes records(std::initializer_list<std::initializer_list<int>> words, std::size_t named = 0) {
    Bytes bytes;
    for (const auto& record : words) {
        bytes.insert(bytes.end(), named, 'n');
        for (int word : record) {
            bytes.push_back(static_cast<std::uint8_t>(word));
            bytes.push_back(static_cast<std::uint8_t>(word >> 8));
        }
    }
    return bytes;
}

// The smallest SoundFont of three presets (piano, a drum kit and program 5)
// on two instruments and one sample.
Seeds soundFontSeeds() {
    constexpr int instrument = 41, sampleId = 53;
    Bytes pdta{'p', 'd', 't', 'a'};
    for (const Bytes& table :
         {chunk("phdr", records({{0, 0, 0, 0, 0, 0, 0, 0, 0},
                                 {0, 128, 1, 0, 0, 0, 0, 0, 0},
                                 {5, 0, 2, 0, 0, 0, 0, 0, 0},
                                 {0, 0, 3, 0, 0, 0, 0, 0, 0}},
                                20)),
          chunk("pbag", records({{0, 0}, {1, 0}, {2, 0}, {3, 0}})), chunk("pmod", Bytes(10)),
          chunk("pgen", records({{instrument, 0}, {instrument, 1}, {instrument, 1}, {0, 0}})),
          chunk("inst", records({{0}, {1}, {2}}, 20)),
          chunk("ibag", records({{0, 0}, {1, 0}, {2, 0}})), chunk("imod", Bytes(10)),
          chunk("igen", records({{sampleId, 0}, {sampleId, 0}, {0, 0}})),
          chunk("shdr", records({{0, 0, 8, 0, 2, 0, 6, 0, 0xAC44, 0, 60, 0, 1},
                                 {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
                                20))})
        pdta.insert(pdta.end(), table.begin(), table.end());
    Bytes info{'I', 'N', 'F', 'O'};
    const Bytes version = chunk("ifil", records({{2, 1}}));
    info.insert(info.end(), version.begin(), version.end());
    Bytes sdta{'s', 'd', 't', 'a'};
    const Bytes samples = chunk("smpl", Bytes(16 + 2 * 46));
    sdta.insert(sdta.end(), samples.begin(), samples.end());
    Seeds seeds;
    seeds["three-presets.sf2"] =
        MidiFileBuilder::riff("sfbk", {{"LIST", info, {}}, {"LIST", sdta, {}}, {"LIST", pdta, {}}});
    return seeds;
}

void writeSeeds(const fs::path& folder, const Seeds& seeds) {
    fs::create_directories(folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with("seed-"))
            fs::remove(entry.path());
    }
    for (const auto& [name, bytes] : seeds)
        MidiFileBuilder::write(folder / ("seed-" + name), bytes);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_corpus <corpus folder>\n";
        return 2;
    }
    const fs::path root = argv[1];
    const Seeds midi = midiSeeds();
    Seeds riff = riffSeeds();
    Seeds device = midi;
    device.insert(riff.begin(), riff.end());
    writeSeeds(root / "midi_normaliser", midi);
    writeSeeds(root / "riff_midi", riff);
    writeSeeds(root / "device_open", device);
    writeSeeds(root / "list_file", listFileSeeds());
    writeSeeds(root / "soundfont_subset", soundFontSeeds());
    return 0;
}
