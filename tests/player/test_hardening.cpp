#include "PlayerFixture.h"

#include "app/Windows.h"
#include "platform/FluidSynthDevice.h"
#include "platform/FluidSynthEngine.h"
#include "platform/Platform.h"
#include "player/PictureButton.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "playlist/SortedListBox.h"
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

// The player window on the real FluidSynth device, fed by the open dialog.
class PlayerHardening : public PlayerFixture {
protected:
    void useDevice(FluidSynthDevice::Output output,
                   std::shared_ptr<FluidSynthEngine> engine = makeTestEngine()) {
        platform().makeSequencer = [this, output, engine] {
            auto made = std::make_unique<FluidSynthDevice>(output, engine);
            device = made.get();
            return made;
        };
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
        const int frames = FluidSynthDevice::sampleRate / 2;
        std::vector<float> left(frames), right(frames);
        device->render(left.data(), right.data(), frames);
        const double energy = std::inner_product(left.begin(), left.end(), left.begin(), 0.0) +
                              std::inner_product(right.begin(), right.end(), right.begin(), 0.0);
        return std::sqrt(energy / (2.0 * frames));
    }

    FluidSynthDevice* device = nullptr;
};

TEST_F(PlayerHardening, AnyNameAPathCanHoldPlaysFromTheLoadButton) {
    useDevice(FluidSynthDevice::Output::Offline);
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
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PlayerHardening, AFolderAFifoOrADeviceFileIsSilentAndTheWindowGoesOn) {
    useDevice(FluidSynthDevice::Output::Offline);
    if (!testSoundFontInstalled())
        GTEST_SKIP() << "TimGM6mb is not installed (timgm6mb-soundfont)";
    PlayerWindow& player = started();
    const QString fifo = QDir(workingFolder.path()).filePath("fifo.mid");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {workingFolder.path(), fifo, QStringLiteral("/dev/zero")}) {
        load(path); // a FIFO without a writer would block an open that waits
        EXPECT_EQ(player.windowTitle(), path);
        EXPECT_FALSE(device->isOpen()) << path.toStdString();
        EXPECT_LT(loudness(), 1e-3);
    }
    load(song("good.mid"));
    EXPECT_GT(loudness(), 0.01);
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_TRUE(messages.isEmpty());
}

// A machine without a SoundFont, or without any audio output that starts.
struct SilentMachine {
    const char* name;
    std::shared_ptr<FluidSynthEngine> (*engine)();
};

const SilentMachine silentMachines[] = {
    {"NoSoundFont",
     [] {
         FluidSynthEngine::Config config = FluidSynthEngine::systemConfig();
         config.soundFonts = {"/nonexistent/default-GM.sf2"};
         auto engine = std::make_shared<FluidSynthEngine>(config);
         engine->ready(); // the SoundFont loads in the background; here, until it has failed
         return engine;
     }},
    {"NoAudioOutput", [] { return makeTestEngine({"no-such-driver"}); }},
};

class SilentMachineTest : public PlayerHardening,
                          public ::testing::WithParamInterface<SilentMachine> {};

TEST_P(SilentMachineTest, TheProgramWorksSilentlyAndSaysWhyInOneLine) {
    ::testing::internal::CaptureStderr();
    useDevice(FluidSynthDevice::Output::Speakers, GetParam().engine());
    std::string said = ::testing::internal::GetCapturedStderr();
    // Not captured: the offscreen platform's complaint that it cannot raise a window.
    PlayerWindow& player = started();
    ::testing::internal::CaptureStderr();
    const QString path = song("song.mid");
    load(path);
    EXPECT_EQ(player.windowTitle(), path);
    EXPECT_TRUE(animationTimer()->isActive()); // the mascot dances all the same
    EXPECT_FALSE(device->isOpen());
    click(button("pause"));
    click(button("play"));
    click(button("stop"));
    PlaylistWindow& playlist = windows::playlist().load();
    click(control(playlist, "addButton"));
    EXPECT_EQ(control<SortedListBox>(playlist, "list")->entries(), QStringList({path}));
    load(path);
    said += ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(said.rfind("pelora: ", 0), 0u) << said;
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_TRUE(messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Machines, SilentMachineTest, ::testing::ValuesIn(silentMachines),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
