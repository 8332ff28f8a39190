#include "midifile/MidiFileNormaliser.h"
#include "support/MidiFileBuilder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

MidiFileNormaliser::Result normalise(const Bytes& bytes) {
    return MidiFileNormaliser::normalise(bytes);
}

Bytes normalised(const Bytes& bytes) {
    const MidiFileNormaliser::Result result = normalise(bytes);
    EXPECT_TRUE(result.ok()) << result.refusal;
    return result.bytes;
}

// One track: program, a held note, the note released.
MidiFileBuilder oneNote(int format = 0) {
    MidiFileBuilder builder(format, 480);
    builder.track().program(0, 0, 0).noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
    return builder;
}

TEST(MidiFileNormaliser, WellFormedFilesPassUnchanged) {
    for (const Bytes& file : {MidiFileBuilder::song(0), MidiFileBuilder::song(1),
                              MidiFileBuilder::twoChords(), MidiFileBuilder::dense(20, 2.0)})
        EXPECT_EQ(normalised(file), file);
}

TEST(MidiFileNormaliser, RepairsWhatRealWorldWritersLeave) {
    const Bytes clean = oneNote().build();
    EXPECT_EQ(normalised(oneNote().headerLength(12).build()), clean);
    EXPECT_EQ(normalised(oneNote().leadingJunk(MidiFileBuilder::macBinaryHeader("a.mid")).build()),
              clean);
    EXPECT_EQ(normalised(oneNote().leadingJunk(Bytes(4096, 0)).build()), clean);

    MidiFileBuilder unknown(0, 480);
    unknown.unknownChunk("XFIH", {1, 2, 3});
    unknown.track().program(0, 0, 0).noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
    unknown.unknownChunk("XFKM", Bytes(9, 0x80));
    EXPECT_EQ(normalised(unknown.build()), clean);

    MidiFileBuilder noEnd(0, 480);
    noEnd.track().program(0, 0, 0).noteOn(0, 0, 60, 100).noteOff(480, 0, 60).withoutEndOfTrack();
    EXPECT_EQ(normalised(noEnd.build()), clean);

    MidiFileBuilder extraTrack(0, 480);
    extraTrack.track().program(0, 0, 0).noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
    extraTrack.track().noteOn(0, 0, 72, 100);
    EXPECT_EQ(normalised(extraTrack.declaredTrackCount(1).build()), clean);
}

TEST(MidiFileNormaliser, WritesRunningStatusOutEvenAcrossMetaEvents) {
    MidiFileBuilder builder(0, 480);
    builder.track().noteOn(0, 0, 60, 100).raw(0, {64, 100}).tempo(0, 400000).raw(480, {60, 0});
    MidiFileBuilder expected(0, 480);
    expected.track()
        .noteOn(0, 0, 60, 100)
        .noteOn(0, 0, 64, 100)
        .tempo(0, 400000)
        .noteOn(480, 0, 60, 0);
    EXPECT_EQ(normalised(builder.build()), expected.build());
}

TEST(MidiFileNormaliser, CutsAnOverrunningLastTrackAfterItsLastWholeEvent) {
    MidiFileBuilder builder(1, 480);
    builder.track().tempo(0, 500000);
    builder.track().program(0, 0, 0).noteOn(0, 0, 60, 100).declaredLength(1000).withoutEndOfTrack();
    Bytes bytes = builder.build();
    bytes.push_back(0x83); // a delta time broken off
    MidiFileBuilder expected(1, 480);
    expected.track().tempo(0, 500000);
    expected.track().program(0, 0, 0).noteOn(0, 0, 60, 100);
    EXPECT_EQ(normalised(bytes), expected.build());
}

TEST(MidiFileNormaliser, CorrectsATrackCountHigherThanTheTracksThere) {
    const Bytes result = normalised(oneNote(1).declaredTrackCount(5).build());
    EXPECT_EQ(result, oneNote(1).build());
}

TEST(MidiFileNormaliser, KeepsTimingOfEventsFluidSynthWouldChokeOn) {
    MidiFileBuilder builder(0, 480);
    builder.track()
        .noteOn(0, 0, 60, 100)
        .raw(10, {0xF7, 0x02, 0x43, 0x10})       // escaped sysex
        .raw(20, {0xFF, 0x51, 0x02, 0x07, 0xA1}) // tempo of two bytes
        .raw(30, {0xFF, 0x51, 0x03, 0, 0, 0})    // tempo 0
        .raw(40, {0xFF, 0x58, 0x00})             // time signature without data
        .raw(50, {0xFF, 0x2F, 0x01, 0x00});      // end of track with a body
    MidiFileBuilder expected(0, 480);
    expected.track()
        .noteOn(0, 0, 60, 100)
        .raw(10, {0xFF, 0x7F, 0x02, 0x43, 0x10})
        .raw(20, {0xFF, 0x7F, 0x02, 0x07, 0xA1})
        .raw(30, {0xFF, 0x7F, 0x03, 0, 0, 0})
        .raw(40, {0xFF, 0x7F, 0x00})
        .raw(50, {0xFF, 0x2F, 0x00})
        .withoutEndOfTrack();
    EXPECT_EQ(normalised(builder.build()), expected.build());
}

// A track that breaks off at a bad event keeps what came before it.
struct BrokenEvent {
    const char* name;
    Bytes event;
};

class BrokenEventTest : public ::testing::TestWithParam<BrokenEvent> {};

TEST_P(BrokenEventTest, EndsTheTrackThere) {
    MidiFileBuilder builder(0, 480);
    builder.track().noteOn(0, 0, 60, 100).raw(0, GetParam().event).noteOff(480, 0, 60);
    MidiFileBuilder expected(0, 480);
    expected.track().noteOn(0, 0, 60, 100);
    EXPECT_EQ(normalised(builder.build()), expected.build());
}

INSTANTIATE_TEST_SUITE_P(Events, BrokenEventTest,
                         ::testing::Values(BrokenEvent{"SystemCommon", {0xF2, 0x00, 0x00}},
                                           BrokenEvent{"RealTime", {0xF8}},
                                           BrokenEvent{"DataByteWithTopBitSet", {0x90, 0x3C, 0x80}},
                                           BrokenEvent{"SysexPastTheTrack", {0xF0, 0x7F, 0x01}},
                                           BrokenEvent{"MetaPastTheTrack",
                                                       {0xFF, 0x01, 0x40, 'a'}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MidiFileNormaliser, EndsATrackAtADeltaTimeOfFiveBytes) {
    // An empty text event, then a delta time too long to be one.
    const Bytes tail = {0xFF, 0x01, 0x00, 0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 0x3C, 0x40};
    MidiFileBuilder builder(0, 480);
    builder.track().noteOn(0, 0, 60, 100).raw(0, tail);
    MidiFileBuilder expected(0, 480);
    expected.track().noteOn(0, 0, 60, 100).raw(0, {0xFF, 0x01, 0x00});
    EXPECT_EQ(normalised(builder.build()), expected.build());
}

TEST(MidiFileNormaliser, EmptiesATrackThatStartsWithRunningStatus) {
    MidiFileBuilder builder(1, 480);
    builder.track().noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
    builder.track().raw(0, {62, 100});
    MidiFileBuilder expected(1, 480);
    expected.track().noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
    expected.track();
    EXPECT_EQ(normalised(builder.build()), expected.build());
}

Bytes withHeaderField(Bytes bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * (size - 1 - i)));
    return bytes;
}

struct Refused {
    const char* name;
    Bytes bytes;
};

class RefusedTest : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedTest, IsRefusedWithAReason) {
    const MidiFileNormaliser::Result result = normalise(GetParam().bytes);
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.refusal.empty());
    EXPECT_TRUE(result.bytes.empty());
}

MidiFileBuilder manyTracks(int count) {
    MidiFileBuilder builder(1, 480);
    builder.track().noteOn(0, 0, 60, 100);
    for (int i = 1; i < count; ++i)
        builder.track();
    return builder;
}

const Bytes song = MidiFileBuilder::song();

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedTest,
    ::testing::Values(
        Refused{"Empty", {}}, Refused{"Text", Bytes(100, 'a')},
        Refused{"HeaderOnlyName", {'M', 'T', 'h', 'd'}},
        Refused{"HeaderCutShort", Bytes(song.begin(), song.begin() + 13)},
        Refused{"NoTrackAfterHeader", Bytes(song.begin(), song.begin() + 14)},
        Refused{"TrackHeaderCutShort", Bytes(song.begin(), song.begin() + 20)},
        Refused{"HeaderTooShort", oneNote().headerLength(4).build()},
        Refused{"HeaderPastTheEnd", withHeaderField(song, 4, 0xFFFFFFFF, 4)},
        Refused{"FormatThree", withHeaderField(song, 8, 3, 2)},
        Refused{"NoTracksDeclared", withHeaderField(song, 10, 0, 2)},
        Refused{"DivisionZero", withHeaderField(song, 12, 0, 2)},
        Refused{"SmpteOfAnUnknownFrameRate", withHeaderField(song, 12, 0xE928, 2)},
        Refused{"SmpteOfNoTicksAFrame", withHeaderField(song, 12, 0xE700, 2)},
        Refused{"TooManyTracks", manyTracks(129).build()},
        Refused{"JunkBeyondFourKilobytes", oneNote().leadingJunk(Bytes(4097, 0)).build()},
        Refused{"OnlyUnknownChunks",
                [] {
                    MidiFileBuilder builder(0, 480);
                    return builder.declaredTrackCount(1).unknownChunk("XFIH", {1}).build();
                }()}),
    [](const auto& info) { return std::string(info.param.name); });

// A file timed in frames a second plays at its speed: a quarter note of a
// second (1.001 at 29.97 frames) holds a second's ticks, and the file's own
// tempo events, which mean nothing to it, keep only their time.
TEST(MidiFileNormaliser, PlaysSmpteTimedFilesAtTheirSpeed) {
    const struct {
        std::uint16_t division;
        int ticksPerQuarter;
        std::uint32_t microsecondsPerQuarter;
    } rates[] = {
        {0xE728, 25 * 40, 1'000'000}, // 25 frames a second, 40 ticks a frame
        {0xE350, 30 * 80, 1'001'000}, // 29.97
        {0xE264, 30 * 100, 1'000'000},
    };
    for (const auto& rate : rates) {
        MidiFileBuilder smpte(1, rate.division);
        smpte.track().tempo(0, 500000).tempo(2000, 250000);
        smpte.track().noteOn(0, 0, 60, 100).noteOff(1000, 0, 60);
        MidiFileBuilder expected(1, rate.ticksPerQuarter);
        expected.track()
            .tempo(0, rate.microsecondsPerQuarter)
            .raw(0, {0xFF, 0x7F, 0x03, 0x07, 0xA1, 0x20})
            .raw(2000, {0xFF, 0x7F, 0x03, 0x03, 0xD0, 0x90});
        expected.track().noteOn(0, 0, 60, 100).noteOff(1000, 0, 60);
        EXPECT_EQ(normalised(smpte.build()), expected.build()) << std::hex << rate.division;
    }
}

// The patterns of a format 2 file play one after another, each from the
// end-of-track of the one before (or its last event, when it breaks off),
// with the tempo changes where they come.
TEST(MidiFileNormaliser, PlaysThePatternsOfAFormat2FileOneAfterAnother) {
    MidiFileBuilder patterns(2, 480);
    patterns.track()
        .tempo(0, 600000)
        .noteOn(0, 0, 60, 100)
        .noteOff(480, 0, 60)
        .raw(240, {0xFF, 0x2F, 0x00})
        .withoutEndOfTrack();
    patterns.track()
        .tempo(100, 400000)
        .noteOn(0, 0, 64, 100)
        .noteOff(480, 0, 64)
        .withoutEndOfTrack();
    patterns.track().noteOn(0, 0, 67, 100).noteOff(480, 0, 67);
    MidiFileBuilder expected(0, 480);
    expected.track()
        .tempo(0, 600000)
        .noteOn(0, 0, 60, 100)
        .noteOff(480, 0, 60)
        .tempo(340, 400000)
        .noteOn(0, 0, 64, 100)
        .noteOff(480, 0, 64)
        .noteOn(0, 0, 67, 100)
        .noteOff(480, 0, 67);
    EXPECT_EQ(normalised(patterns.build()), expected.build());

    // Two long silences joined are longer than one delta time can say.
    const std::uint32_t longest = 0x0FFFFFFF;
    MidiFileBuilder silences(2, 480);
    silences.track().noteOn(0, 0, 60, 100).raw(longest, {0xFF, 0x2F, 0x00}).withoutEndOfTrack();
    silences.track().noteOff(longest, 0, 60);
    MidiFileBuilder joined(0, 480);
    joined.track().noteOn(0, 0, 60, 100).raw(longest, {0xFF, 0x7F, 0x00}).noteOff(longest, 0, 60);
    EXPECT_EQ(normalised(silences.build()), joined.build());
}

// A file without a note to play is told as such; one that breaks off after
// its first notes plays them (see above).
TEST(MidiFileNormaliser, RefusesAFileWithoutANote) {
    MidiFileBuilder emptyTrack(0, 480);
    emptyTrack.track().withoutEndOfTrack().declaredLength(0xFFFFFFFF);
    MidiFileBuilder onlyReleases(1, 480);
    onlyReleases.track().tempo(0, 500000);
    onlyReleases.track().program(0, 0, 0).noteOn(0, 0, 60, 0).noteOff(480, 0, 60);
    for (const Bytes& file : {emptyTrack.build(), onlyReleases.build()}) {
        const MidiFileNormaliser::Result result = normalise(file);
        EXPECT_EQ(result.kind, MidiFileNormaliser::Refusal::NoNotes) << result.refusal;
        EXPECT_EQ(result.refusal, "no note in any track");
        EXPECT_TRUE(result.bytes.empty());
    }
}

TEST(MidiFileNormaliser, AcceptsAsManyTracksAsFluidSynthPlays) {
    EXPECT_TRUE(normalise(manyTracks(128).build()).ok());
}

// Whatever the bytes, the normaliser stays inside them, and what it accepts
// is already in its plainest form.
TEST(MidiFileNormaliser, DamagedFilesNeverBreakIt) {
    std::mt19937 random(20260);
    const Bytes original = MidiFileBuilder::dense(3, 1.0);
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes = original;
        const int damage = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < damage; ++i)
            bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
        bytes.resize(random() % (bytes.size() + 1));
        const MidiFileNormaliser::Result result = normalise(bytes);
        if (result.ok()) {
            ASSERT_EQ(normalise(result.bytes).bytes, result.bytes) << "round " << round;
        }
    }
}

} // namespace
