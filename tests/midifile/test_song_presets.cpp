#include "midifile/SongPresets.h"
#include "support/MidiFileBuilder.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Presets = std::set<SongPresets::Preset>;

Presets of(MidiFileBuilder& file) {
    Presets presets;
    for (const auto& [preset, notes] : SongPresets::of(file.build()))
        presets.insert(preset);
    return presets;
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

// A drum part made by a GS message, or by XG's bank 127, plays drum kits;
// the drum channel made an instrument's part by GS plays instruments.
TEST(SongPresets, DrumPartsOnOtherChannelsSelectDrumKits) {
    MidiFileBuilder file(1, 480);
    file.track().program(0, 10, 25).raw(0, {0xB2, 0x00, 127}).program(0, 2, 16);
    // GS: part 11 (channel 11) used for rhythm, map 2; a later track.
    file.track().raw(0, {0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x1A, 0x15, 0x02, 0x0F, 0xF7});
    // Part 10 (channel 10) map 0, then program 30 there.
    file.track()
        .raw(0, {0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x10, 0x15, 0x00, 0x1B, 0xF7})
        .program(0, 9, 30);
    const Presets presets = of(file);
    EXPECT_TRUE(presets.contains({0, 30})) << "GS instrument part on the drum channel";
    EXPECT_TRUE(presets.contains({128, 25})) << "GS rhythm part";
    EXPECT_TRUE(presets.contains({128, 16})) << "XG drum kit";
}

} // namespace
