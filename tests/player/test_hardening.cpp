#include "PlayerFixture.h"

#include "app/Windows.h"
#include "player/PictureButton.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "playlist/SortedListBox.h"
#include "sound/SoundEngine.h"
#include "support/MidiFileBuilder.h"
#include "support/ScriptedFileDialog.h"
#include "support/TestEngine.h"

#include <QDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <sys/stat.h>
#include <vector>

namespace {

// The player window on the real sound engine, fed by the open dialog.
class PlayerHardening : public PlayerFixture {
protected:
    // The program on `engine` instead of the recording sequencer.
    void useEngine(std::unique_ptr<SoundEngine> made) {
        engine = std::move(made);
        rebuild(engine.get());
    }
    void useEngine(SoundEngine::Config config = testEngineConfig()) {
        useEngine(std::make_unique<SoundEngine>(std::move(config)));
    }

    static void click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }

    // What a user does: the load button, then the path in the open dialog.
    static void load(const QString& path) {
        ScriptedFileDialog::answer(path);
        click(button("load"));
    }

    QString song(const QString& name) const {
        const QString path = QDir(workingFolder.path()).filePath(name);
        MidiFileBuilder::write(QFile::encodeName(path).toStdString(), MidiFileBuilder::song());
        return path;
    }

    // The root mean square of the next half second of sound.
    double loudness() {
        const int frames = SoundEngine::sampleRate / 2;
        std::vector<float> left(frames), right(frames);
        engine->render(left.data(), right.data(), frames);
        const double energy = std::inner_product(left.begin(), left.end(), left.begin(), 0.0) +
                              std::inner_product(right.begin(), right.end(), right.begin(), 0.0);
        return std::sqrt(energy / (2.0 * frames));
    }

    std::unique_ptr<SoundEngine> engine;
};

TEST_F(PlayerHardening, AnyNameAPathCanHoldPlaysFromTheLoadButton) {
    useEngine();
    if (!testSoundFontInstalled())
        GTEST_SKIP() << "TimGM6mb is not installed (timgm6mb-soundfont)";
    PlayerWindow& player = started();
    ASSERT_TRUE(QDir(workingFolder.path()).mkdir("-my songs"));
    for (const char* name : {"-my songs/--help", "-my songs/\"quoted\" 'both' $HOME;`x`.mid",
                             "-my songs/日本語の曲 ♪.rmi"}) {
        const QString path = song(QString::fromUtf8(name));
        load(path);
        EXPECT_EQ(player.windowTitle(), path);
        EXPECT_GT(loudness(), 0.01) << name;
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// Each time a file cannot be played the user is told which and why, once the
// command is done: the caption and the mascot are as for any other file.
TEST_F(PlayerHardening, AFileThatCannotBePlayedIsToldEachTimeAndTheWindowGoesOn) {
    useEngine();
    if (!testSoundFontInstalled())
        GTEST_SKIP() << "TimGM6mb is not installed (timgm6mb-soundfont)";
    PlayerWindow& player = started();
    const QDir folder(workingFolder.path());
    const QString fifo = folder.filePath("fifo.mid");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString text = folder.filePath("notes.mid");
    MidiFileBuilder::write(QFile::encodeName(text).toStdString(), {'h', 'e', 'l', 'l', 'o'});
    const QString noNotes = folder.filePath("empty track.mid");
    MidiFileBuilder emptyTrack;
    emptyTrack.track().withoutEndOfTrack().declaredLength(0xFFFFFFFF);
    MidiFileBuilder::write(QFile::encodeName(noNotes).toStdString(), emptyTrack.build());
    const QString gone = song("gone.mid");
    ASSERT_TRUE(QFile::remove(gone));

    const struct {
        QString path;
        QString reason;
    } unplayable[] = {
        {workingFolder.path(), "フォルダーです"},
        {fifo,
         "通常のファイルではありません"}, // a FIFO without a writer would block an open that waits
        {"/dev/zero", "通常のファイルではありません"},
        {text, "MIDI ファイルではありません"},
        {noNotes, "演奏する音符がありません"},
        {gone, "ありません"},
        {"C:\\MIDI\\gone.mid", "Windows のパスです"}, // from a list written on Windows
    };
    for (const auto& [path, reason] : unplayable) {
        for (int time = 0; time < 2; ++time) {
            messages.clear();
            load(path);
            EXPECT_EQ(player.windowTitle(), path);
            EXPECT_TRUE(animationTimer()->isActive());
            EXPECT_FALSE(engine->isOpen()) << path.toStdString();
            EXPECT_LT(loudness(), 1e-3);
            ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.isEmpty(); }, 5000))
                << path.toStdString();
            ASSERT_EQ(messages.size(), 1);
            EXPECT_TRUE(messages[0].contains(path) && messages[0].contains(reason))
                << messages[0].toStdString();
        }
    }
    messages.clear();
    load(song("good.mid"));
    EXPECT_GT(loudness(), 0.01);
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_TRUE(fatalReports.isEmpty());
}

// The SoundFont the user names comes first; one that cannot be used is told,
// and the music comes from the usual one.
TEST_F(PlayerHardening, AChosenSoundFontThatCannotBeUsedIsToldAndTheUsualOnePlays) {
    if (!testSoundFontInstalled())
        GTEST_SKIP() << "TimGM6mb is not installed (timgm6mb-soundfont)";
    const QString chosen = QDir(workingFolder.path()).filePath("missing.sf2");
    SoundEngine::Config config = testEngineConfig();
    config.chosenSoundFont = chosen.toStdString();
    useEngine(config);
    started();
    engine->prepare(); // as the program does once its windows are on screen
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.isEmpty(); }, 5000));
    EXPECT_TRUE(messages[0].contains(chosen) && messages[0].contains("ありません"))
        << messages[0].toStdString();
    load(song("song.mid"));
    EXPECT_GT(loudness(), 0.01);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.size(), 1) << messages.join('\n').toStdString();
}

// A machine without a SoundFont, or without any audio output that starts.
struct SilentMachine {
    const char* name;
    std::unique_ptr<SoundEngine> (*engine)();
    const char* told; // what the message names
};

const SilentMachine silentMachines[] = {
    {"NoSoundFont",
     [] {
         SoundEngine::Config config = SoundEngine::Config::system();
         config.soundFonts = {"/nonexistent/default-GM.sf2"};
         auto engine = std::make_unique<SoundEngine>(config);
         engine->ready(); // the SoundFont loads in the background; here, until it has failed
         return engine;
     },
     "SoundFont"},
    {"NoAudioOutput",
     [] { return std::make_unique<SoundEngine>(testEngineConfig({"no-such-driver"})); },
     "no-such-driver"},
};

class SilentMachineTest : public PlayerHardening,
                          public ::testing::WithParamInterface<SilentMachine> {};

// Without a SoundFont or an audio output the user is told once, in a message
// and in one line on standard error, the first time music should start; the
// windows work as ever.
TEST_P(SilentMachineTest, TheProgramWorksSilentlyAndSaysWhyOnce) {
    ::testing::internal::CaptureStderr();
    useEngine(GetParam().engine());
    std::string said = ::testing::internal::GetCapturedStderr();
    // Not captured: the offscreen platform's complaint that it cannot raise a window.
    PlayerWindow& player = started();
    ::testing::internal::CaptureStderr();
    click(button("stop"));
    click(button("play")); // no file chosen yet: no music was asked for
    EXPECT_FALSE(engine->isOpen());
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

    const QString path = song("song.mid");
    load(path);
    EXPECT_EQ(player.windowTitle(), path);
    EXPECT_TRUE(animationTimer()->isActive()); // the mascot dances all the same
    EXPECT_FALSE(engine->isOpen());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !messages.isEmpty(); }, 5000));
    click(button("pause"));
    click(button("play"));
    click(button("stop"));
    PlaylistWindow& playlist = windows().playlist().load();
    click(control(playlist, "addButton"));
    EXPECT_EQ(control<SortedListBox>(playlist, "list")->entries(), QStringList({path}));
    load(path);
    EXPECT_FALSE(engine->isOpen());
    QCoreApplication::processEvents();
    said += ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(said.rfind("pelora: ", 0), 0u) << said;
    ASSERT_EQ(messages.size(), 1) << messages.join('\n').toStdString();
    EXPECT_TRUE(messages[0].startsWith("音を出せません")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(GetParam().told)) << messages[0].toStdString();
    EXPECT_TRUE(fatalReports.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Machines, SilentMachineTest, ::testing::ValuesIn(silentMachines),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
