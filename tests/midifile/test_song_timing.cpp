#include "midifile/MidiFileNormaliser.h"
#include "midifile/SongTiming.h"
#include "support/MidiFileBuilder.h"

#include <gtest/gtest.h>

namespace {

SongTiming timingOf(const Bytes& file) {
    const MidiFileNormaliser::Result normalised = MidiFileNormaliser::normalise(file);
    EXPECT_TRUE(normalised.ok()) << normalised.refusal;
    return SongTiming(normalised.bytes);
}

// The song's length as the engine plays it: frames of SMPTE time, the
// patterns of a format 2 file one after another, tempo changes on the way.
TEST(SongTiming, LengthOfSmpteFormat2AndTempoChangingSongs) {
    MidiFileBuilder smpte(1); // 25 frames a second of 40 ticks: 1000 ticks a second
    smpte.smpteDivision();
    smpte.track().tempo(0, 250000); // meaningless under SMPTE time
    smpte.track().noteOn(0, 0, 60, 100).noteOff(2500, 0, 60);
    EXPECT_EQ(timingOf(smpte.build()).length().count(), 2'500'000);

    MidiFileBuilder patterns(2, 480); // each pattern one second at 120 beats a minute
    for (int i = 0; i < 3; ++i)
        patterns.track().noteOn(0, 0, 60, 100).noteOff(960, 0, 60);
    EXPECT_EQ(timingOf(patterns.build()).length().count(), 3'000'000);

    MidiFileBuilder tempos(1, 480);
    tempos.track().tempo(0, 500000).tempo(960, 1'000'000); // a second, then half as fast
    tempos.track().noteOn(0, 0, 60, 100).noteOff(1920, 0, 60);
    const SongTiming timing = timingOf(tempos.build());
    EXPECT_EQ(timing.length().count(), 3'000'000);
    EXPECT_EQ(timing.tickAt(timing.at(1440)), 1440);
    EXPECT_EQ(timing.at(timing.tickAt(std::chrono::microseconds(2'000'000))).count(), 2'000'000);
}

} // namespace
