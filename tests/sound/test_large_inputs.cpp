#include "OfflineDeviceTest.h"

#include "midifile/MidiFileNormaliser.h"
#include "support/PeakMemory.h"

#include <algorithm>

namespace {

constexpr std::size_t maxEvents = MidiFileNormaliser::maxEvents;

// A type 1 file of exactly `events` events (end-of-track events included),
// split over two note tracks.
Bytes fileOfEvents(std::size_t events) {
    MidiFileBuilder builder(1, 480);
    const std::size_t first = events / 2;
    for (const std::size_t count : {first, events - first}) {
        MidiTrack& track = builder.track();
        track.program(0, 0, 0);
        for (std::size_t i = 0; i + 2 < count; ++i) {
            if (i % 2 == 0)
                track.noteOn(i == 0 ? 0 : 24, 0, 60 + static_cast<int>(i % 24), 110);
            else
                track.noteOff(24, 0, 60 + static_cast<int>((i - 1) % 24));
        }
    }
    return builder.build();
}

// 16 bytes of events for each second and track: 50 MB is 12.5 million events.
Bytes fiftyMegabytesOfNotes() {
    return MidiFileBuilder::dense(100, 3900.0);
}

// Few events of much data: a tempo track with large system exclusive
// messages, then a chord.
Bytes fiftyMegabytesOfSysex() {
    MidiFileBuilder builder(1, 480);
    MidiTrack& dumps = builder.track();
    // F0, the length 2^20 + 1 in three bytes, the data, F7.
    Bytes event(4 + (1 << 20) + 1, 0x10);
    const Bytes head{0xF0, 0xC0, 0x80, 0x01};
    std::copy(head.begin(), head.end(), event.begin());
    event.back() = 0xF7;
    for (int i = 0; i < 48; ++i)
        dumps.raw(0, event);
    builder.track().program(0, 0, 0).noteOn(0, 0, 60, 120).noteOff(960, 0, 60);
    return builder.build();
}

TEST(LargeMidiFile, TheEventLimitCountsEveryTrack) {
    EXPECT_TRUE(MidiFileNormaliser::normalise(fileOfEvents(maxEvents)).ok());
    const MidiFileNormaliser::Result over =
        MidiFileNormaliser::normalise(fileOfEvents(maxEvents + 1));
    EXPECT_FALSE(over.ok());
    EXPECT_NE(over.refusal.find("events"), std::string::npos) << over.refusal;
}

class LargeFileTest : public OfflineDeviceTest {
protected:
    // Opens and plays `bytes` as a file; whether it opened, and the most
    // memory that opening, playing and 0.2 s of rendering took beyond what
    // was held before.
    std::pair<bool, std::int64_t> playLarge(Bytes bytes) {
        const auto path = write("large.mid", bytes);
        fileSize = static_cast<std::int64_t>(bytes.size());
        Bytes().swap(bytes);
        PeakMemory::reset();
        const std::int64_t before = PeakMemory::current();
        ::testing::internal::CaptureStderr();
        engine.open(path);
        const bool opened = engine.isOpen();
        engine.play();
        said = ::testing::internal::GetCapturedStderr();
        sound = render(0.2);
        return {opened, PeakMemory::peak() - before};
    }

    std::int64_t fileSize = 0;
    std::string said;
    std::vector<float> sound;
};

TEST_F(LargeFileTest, FiftyMegabytesOfNotesAreRefusedWithoutTakingMemoryForThem) {
    const auto [opened, memory] = playLarge(fiftyMegabytesOfNotes());
    ASSERT_GT(fileSize, 48'000'000);
    EXPECT_FALSE(opened);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("events"), std::string::npos) << said;
    EXPECT_LT(peak(sound), silenceThreshold);
    // FluidSynth alone would take ten times the file.
    if (PeakMemory::measurable()) {
        EXPECT_LT(memory, 2 * fileSize);
    }

    openAndPlay(write("good.mid", MidiFileBuilder::song()));
    EXPECT_GT(rms(render(0.5)), soundThreshold);
}

TEST_F(LargeFileTest, FiftyMegabytesOfFewEventsPlayWithinThreeTimesTheirSize) {
    const auto [opened, memory] = playLarge(fiftyMegabytesOfSysex());
    ASSERT_GT(fileSize, 48'000'000);
    EXPECT_TRUE(opened);
    EXPECT_EQ(said, "");
    EXPECT_GT(rms(sound), soundThreshold);
    if (PeakMemory::measurable()) {
        EXPECT_LT(memory, 3 * fileSize);
    }
    engine.stop();
}

TEST_F(LargeFileTest, AFileAtTheEventLimitPlaysAndTheNextOneAfterIt) {
    EXPECT_TRUE(playLarge(fileOfEvents(maxEvents)).first);
    EXPECT_GT(rms(sound), soundThreshold);
    openAndPlay(write("next.mid", MidiFileBuilder::song()));
    EXPECT_GT(rms(render(0.5)), soundThreshold);
}

} // namespace
