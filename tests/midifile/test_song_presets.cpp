#include "midifile/SongPresets.h"
#include "support/MidiFileBuilder.h"

#include <gtest/gtest.h>

namespace {

using Presets = std::set<SongPresets::Preset>;

Presets of(MidiFileBuilder& file) {
    return SongPresets::of(file.build());
}

// What the engine loads before the music starts must cover what the song
// selects; a preset missed there is loaded in the audio thread at its first note.
TEST(SongPresets, EveryBankAndProgramTheSongSelectsWithFluidSynthsFallbacks) {
    MidiFileBuilder file(1, 480);
    file.track()
        .raw(0, {0xB0, 0x00, 8}) // bank select, most significant byte: bank 8
        .raw(0, {0xB0, 0x20, 3}) // its least significant byte: not FluidSynth's bank
        .program(0, 0, 5)
        .raw(0, {0xD1, 0x40}) // channel pressure: one data byte
        .program(0, 1, 7)     // read right only after a one-byte event
        .program(0, 9, 25);   // the drum channel: a drum kit
    EXPECT_EQ(of(file), (Presets{{0, 0}, {0, 5}, {0, 7}, {8, 5}, {128, 0}, {128, 25}}));
}

TEST(SongPresets, RunningStatusAndSysexBetweenEventsAreReadThrough) {
    MidiFileBuilder file(0, 480);
    file.track()
        .raw(0, {0xC2, 10})
        .raw(0, {11})                                       // running status: program 11
        .raw(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}) // GM System On
        .raw(0, {0xC3, 12});
    EXPECT_EQ(of(file), (Presets{{0, 0}, {0, 10}, {0, 11}, {0, 12}, {128, 0}}));
}

} // namespace
