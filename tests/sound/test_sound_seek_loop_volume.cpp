#include "OfflineDeviceTest.h"

#include <QCoreApplication>

#include <chrono>

namespace {

using namespace std::chrono_literals;
using HeardEngine = OfflineDeviceTest;

const Bytes gsReset{0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};

// Silence for two seconds while the song sets its sound, the GS reset in its
// second track; from 0.5 s an organ, quiet, on the left, bent down; at 2 s
// exactly, a note.
Bytes settingsThenANote() {
    MidiFileBuilder file(1, 480);
    file.track()
        .tempo(0, 500000)
        .program(0, 0, 0)
        .raw(480, {0xB0, 7, 50}) // volume
        .raw(0, {0xB0, 10, 0})   // pan: left
        .raw(0, {0xB0, 101, 0})  // RPN 0: the bend range
        .raw(0, {0xB0, 100, 0})
        .raw(0, {0xB0, 6, 12})    // twelve semitones
        .raw(0, {0xE0, 0, 0x20})  // bent down
        .program(0, 0, 19)        // the organ
        .noteOn(1440, 0, 60, 110) // at 2 s
        .noteOff(960, 0, 60);
    file.track().raw(0, gsReset).raw(2880, {0xFF, 0x01, 0x01, 'x'});
    return file.build();
}

// After a seek the song sounds as if it had played from its start to there.
TEST_F(HeardEngine, ASeekSoundsAsTheSongPlayedToThere) {
    const QString song = write("settings.mid", settingsThenANote());
    openAndPlay(song);
    render(2.0);
    const std::vector<float> played = render(0.8);
    ASSERT_GT(rms(played), silenceThreshold);

    std::vector<std::chrono::microseconds> seeks;
    QObject::connect(&engine, &Sequencer::seeked, [&](auto at) { seeks.push_back(at); });
    openAndPlay(song);
    render(0.7);
    engine.seek(2s);
    const std::vector<float> sought = render(0.8);
    expectSameSound(sought, played);
    EXPECT_NEAR(engine.state().position.count(), 2'800'000, 20'000);
    QCoreApplication::processEvents();
    ASSERT_EQ(seeks.size(), 1u);
    EXPECT_EQ(seeks[0], 2s);

    engine.pause(); // a seek while paused stays paused, and play goes on from there
    engine.seek(2s);
    render(releaseSeconds);
    EXPECT_LT(peak(render(0.5)), silenceThreshold);
    engine.play();
    expectSameSound(render(0.8), played);
}

// Track loop: at its end the song starts again at once.
TEST_F(HeardEngine, ALoopedSongStartsAgainAtItsEnd) {
    int startsAgain = 0;
    QObject::connect(&engine, &Sequencer::seeked, [&](auto at) { startsAgain += at == 0us; });
    engine.setLooping(true);
    openAndPlay(write("two.mid", MidiFileBuilder::twoChords(0.6))); // ends at 1 s
    const std::vector<float> first = render(0.4);
    render(0.6);
    // The second chord's reverb still rings into the first one's.
    EXPECT_NEAR(rms(render(0.4)) / rms(first), 1.0, 0.15);
    QCoreApplication::processEvents();
    EXPECT_EQ(startsAgain, 1);
    EXPECT_EQ(engine.state().status, SoundState::Status::Playing);
}

TEST_F(HeardEngine, HalfTheVolumeIsHalfTheLevel) {
    const QString song = write("song.mid", MidiFileBuilder::song());
    openAndPlay(song);
    const double full = rms(render(0.5));
    engine.setVolume(0.5);
    openAndPlay(song);
    EXPECT_NEAR(rms(render(0.5)) / full, 0.5, 0.02);
    // Set at start, before a file makes the synthesizer, as the kept volume is.
    SoundEngine fresh(testEngineConfig());
    fresh.setVolume(0.5);
    fresh.open(song);
    fresh.play();
    std::vector<float> left(SoundEngine::sampleRate / 2), right(left.size());
    fresh.render(left.data(), right.data(), static_cast<int>(left.size()));
    left.insert(left.end(), right.begin(), right.end());
    EXPECT_NEAR(rms(left) / full, 0.5, 0.02);
}

} // namespace
