#include "OfflineDeviceTest.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using DeviceTest = OfflineDeviceTest;

TEST_F(DeviceTest, SmallFileSoundsAtOnceAfterOpenAndPlay) {
    for (int format : {0, 1}) {
        openAndPlay(write("song.mid", MidiFileBuilder::song(format)));
        EXPECT_TRUE(engine.isOpen());
        EXPECT_GT(rms(render(0.5)), soundThreshold) << "type " << format;
        engine.stop();
        EXPECT_FALSE(engine.isOpen());
    }
}

// Once a song is open its samples are in memory, before the music starts:
// no note waits for the disk in the audio thread. The song named on the
// command line is read ahead with them. Here the SoundFont's file is gone
// by the time the song plays; a song changed on disk after it was read
// ahead (from a muted part to notes) is read again.
TEST_F(DeviceTest, ASongsSamplesAreLoadedWhenItOpensOrIsReadAhead) {
    const QString soundFont = dir.filePath("copy.sf2");
    ASSERT_TRUE(QFile::copy(testSoundFont(), soundFont));
    SoundEngine::Config config = testEngineConfig();
    config.soundFonts = {soundFont.toStdString()};
    config.wholeSoundFontLimit = 0; // its samples loaded by what plays, as a large one's
    std::vector<float> left(SoundEngine::sampleRate / 2), right(left.size());
    MidiFileBuilder muted(0, 480);
    muted.track().raw(0, {0xB0, 7, 0}).noteOn(0, 0, 60, 100).noteOff(1920, 0, 60);
    for (const char* when : {"opened", "read ahead", "changed after read ahead"}) {
        const bool changes = when[0] == 'c';
        const QString song = write("song.mid", changes ? muted.build() : MidiFileBuilder::song());
        SoundEngine own(config);
        if (when[0] != 'o') {
            own.prepareToPlay(song);
            own.render(left.data(), right.data(), 1); // once it is read ahead
        }
        if (changes)
            write("song.mid", MidiFileBuilder::song());
        own.open(song);
        ASSERT_TRUE(own.isOpen());
        if (!changes) {
            ASSERT_TRUE(QFile::rename(soundFont, soundFont + ".gone"));
        }
        own.play();
        own.render(left.data(), right.data(), static_cast<int>(left.size()));
        EXPECT_GT(rms(left), soundThreshold) << when;
        QFile::rename(soundFont + ".gone", soundFont);
    }
}

// A closed hi-hat held for two seconds on `channel`, after `setup` (system
// exclusive and channel messages) at the song's start.
Bytes heldHiHat(int channel, const std::vector<Bytes>& setup = {}) {
    MidiFileBuilder file(0, 480);
    MidiTrack& track = file.track();
    for (const Bytes& event : setup)
        track.raw(0, event);
    track.noteOn(0, channel, 42, 110).noteOff(1920, channel, 42);
    return file.build();
}

const Bytes gsReset{0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};
// Part 11 (channel 11) used for rhythm.
const Bytes gsRhythmPart11{0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x1A, 0x15, 0x02, 0x0F, 0xF7};
const Bytes xgSystemOn{0xF0, 0x08, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
const Bytes bank127{0xB0, 0x00, 0x7F};
const Bytes program0{0xC0, 0x00};

// Songs written for GS and XG modules make parts other than channel 10 drum
// parts: a drum sound dies away while the note is held, an instrument's does not.
TEST_F(DeviceTest, GsAndXgDrumPartsPlayDrums) {
    const auto lateLevel = [this](const Bytes& song) {
        openAndPlay(write("song.mid", song));
        const std::vector<float> sound = render(1.5);
        const std::size_t frames = sound.size() / 2;
        return rms({sound.begin() + frames * 4 / 5, sound.begin() + frames});
    };
    const double drums = lateLevel(heldHiHat(9));
    const double instrument = lateLevel(heldHiHat(10));
    ASSERT_GT(instrument, 10 * drums) << "the held note must tell the two apart";
    EXPECT_LT(lateLevel(heldHiHat(10, {gsReset, gsRhythmPart11})), 2 * drums + 1e-4) << "GS";
    EXPECT_LT(lateLevel(heldHiHat(0, {xgSystemOn, bank127, program0})), 2 * drums + 1e-4) << "XG";
    // The next song starts from the GS reset: bank 127 is no drum kit there.
    EXPECT_GT(lateLevel(heldHiHat(0, {bank127, program0})), instrument / 2) << "after XG";
}

// A song that ends with its chord still held: by its notes never released,
// by the sustain pedal left down, or by a download broken off before the
// note-offs. The song ends at 1 s.
TEST_F(DeviceTest, WhatASongLeavesSoundingDiesAwayAtItsEnd) {
    const Bytes text{0xFF, 0x01, 0x01, 'x'};
    const int organ = 19; // sounds for as long as its notes are held
    MidiFileBuilder unreleased(0, 480);
    unreleased.track()
        .program(0, 0, organ)
        .noteOn(0, 0, 60, 110)
        .noteOn(0, 0, 67, 110)
        .raw(960, text);
    MidiFileBuilder pedal(0, 480);
    pedal.track()
        .program(0, 0, organ)
        .raw(0, {0xB0, 64, 127})
        .noteOn(0, 0, 60, 110)
        .noteOff(480, 0, 60)
        .raw(480, text);
    MidiFileBuilder broken(0, 480);
    broken.track()
        .program(0, 0, organ)
        .noteOn(0, 0, 60, 110)
        .raw(960, text)
        .noteOff(480, 0, 60)
        .withoutEndOfTrack();
    Bytes brokenOff = broken.build();
    brokenOff.resize(brokenOff.size() - 1); // within the note-off
    const std::pair<const char*, Bytes> songs[] = {
        {"unreleased", unreleased.build()}, {"pedal", pedal.build()}, {"broken off", brokenOff}};
    for (const auto& [name, song] : songs) {
        openAndPlay(write("song.mid", song));
        EXPECT_GT(rms(render(1.0)), soundThreshold) << name;
        render(2.0);
        EXPECT_LT(peak(render(1.0)), silenceThreshold) << name << ", three seconds after the end";
    }
}

TEST_F(DeviceTest, NothingSoundsBeforePlay) {
    engine.open(write("song.mid", MidiFileBuilder::song()));
    EXPECT_LT(peak(render(0.5)), silenceThreshold);
}

class HaltTest : public OfflineDeviceTest,
                 public ::testing::WithParamInterface<void (SoundEngine::*)()> {};

TEST_P(HaltTest, FallsSilentWithinTheRelease) {
    const auto halt = GetParam();
    openAndPlay(write("song.mid", MidiFileBuilder::song(0, 5.0)));
    ASSERT_GT(rms(render(0.5)), soundThreshold);
    (engine.*halt)();
    render(releaseSeconds);
    EXPECT_LT(peak(render(1.0)), silenceThreshold);
    (engine.*halt)(); // a second time: still halted
    EXPECT_LT(peak(render(1.0)), silenceThreshold);
}

INSTANTIATE_TEST_SUITE_P(PauseAndStop, HaltTest,
                         ::testing::Values(&SoundEngine::pause, &SoundEngine::stop),
                         [](const auto& info) { return info.index == 0 ? "Pause" : "Stop"; });

TEST_F(DeviceTest, ReopeningAfterAPauseStartsFromTheBeginning) {
    // The second chord sounds from 1 s on: an engine that resumed instead of
    // restarting would sound it, not the first.
    const QString file = write("two.mid", MidiFileBuilder::twoChords(1.0));
    openAndPlay(file);
    const std::vector<float> first = render(0.5);
    render(0.7);
    engine.pause();
    engine.stop();
    render(1.0);
    openAndPlay(file);
    const std::vector<float> again = render(0.5);
    ASSERT_GT(rms(first), soundThreshold);
    expectSameSound(again, first);
}

TEST_F(DeviceTest, PlayRestartsWhilePlayingAndFinishedAndResumesWhenPaused) {
    openAndPlay(write("two.mid", MidiFileBuilder::twoChords(1.0)));
    const std::vector<float> first = render(0.5);
    render(0.4);
    engine.play(); // while playing, just before the second chord
    {
        SCOPED_TRACE("playing");
        expectSameSound(render(0.5), first);
    }
    render(0.4);
    engine.pause(); // just before the second chord
    render(releaseSeconds);
    const std::vector<float> second = render(0.5);
    EXPECT_LT(peak(second), silenceThreshold);
    engine.play();
    const std::vector<float> resumed = render(0.5);
    EXPECT_GT(rms(resumed), soundThreshold) << "the second chord, resumed";
    render(3.0); // to the end of the file
    ASSERT_LT(peak(render(0.5)), silenceThreshold);
    engine.play();
    expectSameSound(render(0.5), first);
}

TEST_F(DeviceTest, RiffMidiSoundsLikeTheFileItWraps) {
    const Bytes smf = MidiFileBuilder::song(1);
    openAndPlay(write("song.mid", smf));
    const std::vector<float> plain = render(0.5);
    engine.stop();
    render(1.0);
    openAndPlay(write("song.rmi", MidiFileBuilder::rmid(smf)));
    const std::vector<float> wrapped = render(0.5);
    ASSERT_GT(rms(plain), soundThreshold);
    expectSameSound(wrapped, plain);
}

// A song may leave its channels anywhere: the next one starts from the
// synthesizer's defaults.
TEST_F(DeviceTest, ASongAfterOneThatEndsAtVolumeZeroSounds) {
    MidiFileBuilder fading(0, 480);
    constexpr std::uint8_t volume = 7;
    fading.track()
        .program(0, 0, 0)
        .noteOn(0, 0, 60, 120)
        .noteOff(240, 0, 60)
        .raw(0, {0xB0, volume, 0});
    openAndPlay(write("fading.mid", fading.build()));
    render(1.0);
    openAndPlay(write("song.mid", MidiFileBuilder::song()));
    EXPECT_GT(rms(render(0.5)), soundThreshold);
}

// Channel messages come in two lengths; the notes after the short ones
// (program change, channel pressure) are still heard.
TEST_F(DeviceTest, NotesAfterEveryKindOfChannelMessageSound) {
    MidiFileBuilder builder(0, 480);
    builder.track()
        .raw(0, {0xA0, 60, 10}) // key pressure
        .raw(0, {0xB0, 1, 0})   // modulation
        .program(0, 0, 0)       // program change
        .raw(0, {0xD0, 64})     // channel pressure
        .raw(0, {0xE0, 0, 64})  // pitch bend, centred
        .noteOn(0, 0, 60, 120)
        .noteOn(0, 0, 67, 120)
        .noteOff(960, 0, 60)
        .noteOff(0, 0, 67);
    openAndPlay(write("pressure.mid", builder.build()));
    EXPECT_GT(rms(render(0.5)), soundThreshold);
}

TEST_F(DeviceTest, OperationsOnAClosedDeviceChangeNothing) {
    engine.stop();
    engine.pause();
    engine.play();
    engine.open("");
    engine.play();
    EXPECT_FALSE(engine.isOpen());
    EXPECT_LT(peak(render(0.5)), silenceThreshold);
    openAndPlay(write("song.mid", MidiFileBuilder::song()));
    EXPECT_GT(rms(render(0.5)), soundThreshold);
}

// What the engine tells of what sounds, as it happens.
TEST_F(DeviceTest, TellsPlayingPausedEndedAndStoppedForARefusedFile) {
    std::vector<SoundState> told;
    QObject::connect(&engine, &Sequencer::stateChanged,
                     [&](const SoundState& state) { told.push_back(state); });
    const auto last = [&] {
        QCoreApplication::processEvents();
        return told.empty() ? SoundState::Status::Stopped : told.back().status;
    };
    const QString song = write("song.mid", MidiFileBuilder::song(0, 1.0));
    openAndPlay(song);
    render(0.1);
    EXPECT_EQ(last(), SoundState::Status::Playing);
    EXPECT_EQ(told.back().fileName, song);
    EXPECT_NEAR(told.back().length.count(), 1'000'000, 10'000);
    EXPECT_NEAR(engine.state().position.count(), 100'000, 10'000);
    engine.pause();
    render(0.2);
    EXPECT_EQ(last(), SoundState::Status::Paused);
    EXPECT_NEAR(engine.state().position.count(), 100'000, 10'000) << "kept while paused";
    engine.play();
    render(1.2);
    EXPECT_EQ(last(), SoundState::Status::Ended);
    EXPECT_EQ(engine.state().status, SoundState::Status::Ended);

    bool problem = false;
    QObject::connect(&engine, &Sequencer::problem, [&](const SoundProblem&) { problem = true; });
    openAndPlay(write("bad.mid", {'M', 'T', 'h', 'd'}));
    render(0.1);
    EXPECT_EQ(last(), SoundState::Status::Stopped);
    EXPECT_TRUE(told.back().fileName.isEmpty());
    EXPECT_TRUE(problem);
}

// A file the engine refuses: the path is made by the case in the test's folder.
struct BadInput {
    const char* name;
    std::string (*make)(const std::filesystem::path& dir);
};

std::string writeBytes(const std::filesystem::path& dir, const Bytes& bytes) {
    MidiFileBuilder::write(dir / "bad.mid", bytes);
    return (dir / "bad.mid").string();
}

Bytes headerLength(std::uint32_t length) {
    Bytes bytes = MidiFileBuilder::song();
    bytes[4] = length >> 24, bytes[5] = length >> 16, bytes[6] = length >> 8, bytes[7] = length;
    return bytes;
}

const BadInput badInputs[] = {
    {"EmptyName", [](const std::filesystem::path&) { return std::string(); }},
    {"Missing", [](const std::filesystem::path& dir) { return (dir / "missing.mid").string(); }},
    {"EmptyFile", [](const std::filesystem::path& dir) { return writeBytes(dir, {}); }},
    {"Folder", [](const std::filesystem::path& dir) { return dir.string(); }},
    {"NotMidi", [](const std::filesystem::path& dir) { return writeBytes(dir, Bytes(5000, 'x')); }},
    {"TruncatedInTheHeader",
     [](const std::filesystem::path& dir) {
         Bytes bytes = MidiFileBuilder::song();
         bytes.resize(10);
         return writeBytes(dir, bytes);
     }},
    {"TruncatedBeforeAnyTrack",
     [](const std::filesystem::path& dir) {
         Bytes bytes = MidiFileBuilder::song();
         bytes.resize(18);
         return writeBytes(dir, bytes);
     }},
    {"HeaderLengthPastTheEnd",
     [](const std::filesystem::path& dir) { return writeBytes(dir, headerLength(0x7FFFFFF0)); }},
    {"RiffDataChunkMissing",
     [](const std::filesystem::path& dir) {
         return writeBytes(dir, MidiFileBuilder::riff("RMID", {{"LIST", Bytes(9, 'i'), {}}}));
     }},
    {"RiffChunkLengthPastTheEnd",
     [](const std::filesystem::path& dir) {
         return writeBytes(dir,
                           MidiFileBuilder::riff("RMID", {{"LIST", Bytes(9, 'i'), 0xFFFFFF00},
                                                          {"data", MidiFileBuilder::song(), {}}}));
     }},
    {"NoNoteInAnyTrack",
     [](const std::filesystem::path& dir) {
         MidiFileBuilder builder(0);
         builder.track().withoutEndOfTrack().declaredLength(0xFFFFFFFF);
         return writeBytes(dir, builder.build());
     }},
    {"Fifo",
     [](const std::filesystem::path& dir) {
         const std::string path = (dir / "fifo.mid").string();
         ::mkfifo(path.c_str(), 0600);
         return path;
     }},
    {"DevZero", [](const std::filesystem::path&) { return std::string("/dev/zero"); }},
};

class BadInputTest : public OfflineDeviceTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(BadInputTest, FailsQuietlyAndAGoodFilePlaysAfterwards) {
    const std::string path = GetParam().make(dir.path().toStdString());
    ::testing::internal::CaptureStderr();
    engine.open(QString::fromStdString(path));
    const bool opened = engine.isOpen();
    engine.play();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(opened);
    EXPECT_LE(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_LT(peak(render(0.5)), silenceThreshold);

    openAndPlay(write("good.mid", MidiFileBuilder::song()));
    EXPECT_GT(rms(render(0.5)), soundThreshold);
}

INSTANTIATE_TEST_SUITE_P(Inputs, BadInputTest, ::testing::ValuesIn(badInputs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceTest, UnreadableFileFailsQuietly) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which reads any file: cannot make one unreadable";
    const QString file = write("locked.mid", MidiFileBuilder::song());
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0), 0);
    openAndPlay(file);
    EXPECT_FALSE(engine.isOpen());
    EXPECT_LT(peak(render(0.5)), silenceThreshold);
}

class FileNameTest : public OfflineDeviceTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FileNameTest, AnyCharactersAPathCanHold) {
    const QString name = QString::fromUtf8(GetParam());
    const Bytes bytes = MidiFileBuilder::song();
    const QString path = dir.filePath(name);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    file.close();
    openAndPlay(path);
    EXPECT_GT(rms(render(0.5)), soundThreshold);
}

INSTANTIATE_TEST_SUITE_P(Names, FileNameTest,
                         ::testing::Values("with spaces.mid", "\"quoted\" 'both'.mid",
                                           "日本語の曲.mid", "-leading dash.mid", "--help",
                                           "semi;colon $HOME `x`.rmi", "line\nbreak.mid"));

// Files that FluidSynth alone refuses, as real-world writers make them.
struct RealWorldFile {
    const char* name;
    Bytes (*make)();
};

MidiFileBuilder songBuilder() {
    MidiFileBuilder builder(1, 480);
    builder.track().tempo(0, 500000);
    builder.track()
        .program(0, 0, 0)
        .noteOn(0, 0, 60, 120)
        .noteOn(0, 0, 67, 120)
        .noteOff(960, 0, 60)
        .noteOff(0, 0, 67);
    return builder;
}

const RealWorldFile realWorldFiles[] = {
    {"LongHeader", [] { return songBuilder().headerLength(10).build(); }},
    {"SmpteTimed", [] { return songBuilder().smpteDivision().build(); }},
    {"MacBinaryJunk",
     [] {
         return songBuilder().leadingJunk(MidiFileBuilder::macBinaryHeader("song.mid")).build();
     }},
    {"UnknownChunks",
     [] {
         MidiFileBuilder builder = songBuilder();
         builder.unknownChunk("XFIH", Bytes(7, 1));
         builder.track().tempo(0, 400000);
         return builder.unknownChunk("XFKM", Bytes(3, 2)).build();
     }},
    {"LastTrackRunsPastTheEnd",
     [] {
         MidiFileBuilder builder = songBuilder();
         builder.track().declaredLength(0x10000).noteOn(0, 1, 72, 120).withoutEndOfTrack();
         return builder.build();
     }},
    {"MissingEndOfTrack",
     [] {
         MidiFileBuilder builder(0, 480);
         builder.track()
             .program(0, 0, 0)
             .noteOn(0, 0, 60, 120)
             .noteOff(960, 0, 60)
             .withoutEndOfTrack();
         return builder.build();
     }},
    {"RunningStatusAndEscapedSysex",
     [] {
         MidiFileBuilder builder(0, 480);
         builder.track()
             .raw(0, {0xF7, 0x02, 0x7E, 0x7F})
             .noteOn(0, 0, 60, 120)
             .raw(0, {64, 120})
             .raw(960, {60, 0})
             .raw(0, {64, 0});
         return builder.build();
     }},
    {"RiffWithInfoBeforeData",
     [] {
         return MidiFileBuilder::riff(
             "RMID", {{"LIST", Bytes(5, 'a'), {}}, {"data", songBuilder().build(), {}}});
     }},
};

class RealWorldFileTest : public OfflineDeviceTest,
                          public ::testing::WithParamInterface<RealWorldFile> {};

TEST_P(RealWorldFileTest, Sounds) {
    openAndPlay(write("real.mid", GetParam().make()));
    EXPECT_TRUE(engine.isOpen());
    EXPECT_GT(rms(render(0.5)), soundThreshold);
}

INSTANTIATE_TEST_SUITE_P(Variants, RealWorldFileTest, ::testing::ValuesIn(realWorldFiles),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
