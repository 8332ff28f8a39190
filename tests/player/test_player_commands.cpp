#include "PlayerFixture.h"

#include "app/Windows.h"
#include "core/Errors.h"
#include "player/ImageView.h"
#include "player/PictureButton.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "support/RecordingSequencer.h"
#include "support/ScriptedFileDialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

const QString midiFilter =
    QStringLiteral("MIDI(*.mid;*.rmi)|*.mid;*.rmi;*.midi;*.kar|全てのファイル(*.*)|*.*");

QStringList playSequence(const QString& file) {
    return {"stop", "open " + file, "play"};
}

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A sequencer whose open fails loudly, as a broken driver would.
class FailingSequencer : public RecordingSequencer {
public:
    void open(const QString& fileName) override {
        RecordingSequencer::open(fileName);
        throw PeloraError("the sequencer failed");
    }
};

// An open dialog that notes whether the animation ran while it was open, then is cancelled.
class TimerProbeDialog : public FileDialog {
public:
    TimerProbeDialog(const QString& filter, bool* active) : FileDialog(filter), active_(active) {}
    void showOpen() override {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* player = qobject_cast<PlayerWindow*>(window))
                *active_ = player->findChild<QTimer*>("animationTimer")->isActive();
        }
        throw DialogCancelled();
    }
    void showSave() override {}
    QString fileName() const override { return {}; }

private:
    bool* active_;
};

using PlayerCommands = PlayerFixture;

// What each button tells the sequencer, shows in the caption and does to
// the mascot, one press after another.
TEST_F(PlayerCommands, EachButtonsCommandsCaptionAndMascot) {
    PlayerWindow& player = started();
    const QString song = QStringLiteral("/music/a b.mid");
    const struct {
        const char* button;
        QString file;
        QStringList calls;
        bool dancing;
    } presses[] = {
        {"play", song, playSequence(song), true},
        {"play", song, playSequence(song), true}, // again: from its beginning
        {"pause", song, {"pause"}, true},
        {"pause", song, {"pause"}, true},
        {"stop", song, {"stop"}, false},
        {"play", "", playSequence(""), true}, // no file chosen: an empty name and caption
    };
    for (const auto& [name, file, calls, dancing] : presses) {
        state().currentFile = file;
        RecordingSequencer::log().clear();
        QTest::mouseClick(button(name), Qt::LeftButton);
        EXPECT_EQ(RecordingSequencer::log(), calls) << name;
        EXPECT_EQ(player.windowTitle(), file) << name;
        EXPECT_EQ(animationTimer()->isActive(), dancing) << name;
    }
}

TEST_F(PlayerCommands, LoadAsksForAMidiFileAndPlaysIt) {
    PlayerWindow& player = started();
    ScriptedFileDialog::answer("/cd/曲.rmi");
    QTest::mouseClick(button("load"), Qt::LeftButton);
    EXPECT_EQ(ScriptedFileDialog::shows(), QStringList({"open " + midiFilter}));
    EXPECT_EQ(state().currentFile, "/cd/曲.rmi");
    EXPECT_EQ(RecordingSequencer::log(), playSequence("/cd/曲.rmi"));
    EXPECT_EQ(player.windowTitle(), "/cd/曲.rmi");
    EXPECT_TRUE(animationTimer()->isActive());
}

TEST_F(PlayerCommands, ACancelledLoadLeavesTheMusicPlayingAndTheMascotStill) {
    PlayerWindow& player = started();
    ScriptedFileDialog::answer("first.mid");
    player.chooseAndPlay();
    player.showNextFrame();
    player.showNextFrame();
    RecordingSequencer::log().clear();

    ScriptedFileDialog::cancel();
    QTest::mouseClick(button("load"), Qt::LeftButton);
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_TRUE(RecordingSequencer::log().isEmpty());
    EXPECT_FALSE(animationTimer()->isActive());
    EXPECT_EQ(mascotFrame(), 1);
    EXPECT_EQ(state().currentFile, "first.mid");
    EXPECT_EQ(player.windowTitle(), "first.mid");
}

TEST_F(PlayerCommands, TheTimerStopsBeforeTheDialogOpens) {
    bool activeWhileOpen = true;
    rebuild(nullptr, [&](const QString& filter, const QString&) {
        return std::make_unique<TimerProbeDialog>(filter, &activeWhileOpen);
    });
    PlayerWindow& player = started();
    player.play();
    ASSERT_TRUE(animationTimer()->isActive());
    QTest::mouseClick(button("load"), Qt::LeftButton);
    EXPECT_FALSE(activeWhileOpen);
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(PlayerCommands, OnlyLoadSwallowsAFailureOfThePlayCommand) {
    FailingSequencer failing;
    rebuild(&failing);
    PlayerWindow& player = started();
    ScriptedFileDialog::answer("bad.mid");
    QTest::mouseClick(button("load"), Qt::LeftButton);
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_EQ(state().currentFile, "bad.mid");
    EXPECT_EQ(player.windowTitle(), "bad.mid");
    EXPECT_FALSE(animationTimer()->isActive()); // the failure came before the timer step

    QTest::mouseClick(button("play"), Qt::LeftButton);
    EXPECT_EQ(fatalReports, QStringList({"the sequencer failed"}));
}

TEST_F(PlayerCommands, MinimisingHidesThePlaylistAndOnlyTheMascotBringsItBack) {
    PlayerWindow& player = started();
    player.showMinimized();
    EXPECT_FALSE(windows().playlist()->isVisible());
    player.showNormal();
    EXPECT_FALSE(windows().playlist()->isVisible());
    QTest::mouseClick(mascot(), Qt::LeftButton);
    EXPECT_TRUE(windows().playlist()->isVisible());
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(PlayerCommands, TheMascotBringsBackAClosedPlaylistCreatedAfresh) {
    started();
    QPointer<PlaylistWindow> closed = &windows().playlist().load();
    closed->close();
    flushDeletes();
    EXPECT_TRUE(closed.isNull());
    EXPECT_FALSE(windows().playlist().isLoaded());
    EXPECT_EQ(programEnds, 0);

    QTest::mouseClick(mascot(), Qt::LeftButton);
    ASSERT_TRUE(windows().playlist().isLoaded());
    EXPECT_TRUE(windows().playlist()->isVisible());
}

TEST_F(PlayerCommands, MinimisingAfterThePlaylistWasClosedLoadsItHidden) {
    PlayerWindow& player = started();
    windows().playlist()->close();
    flushDeletes();
    player.showMinimized();
    ASSERT_TRUE(windows().playlist().isLoaded());
    EXPECT_FALSE(windows().playlist()->isVisible());
}

TEST_F(PlayerCommands, ClosingThePlayerStopsUnloadsThePlaylistAndEndsTheProgram) {
    PlayerWindow& player = started();
    state().currentFile = "a.mid";
    player.play();
    RecordingSequencer::log().clear();
    player.close();
    flushDeletes();
    EXPECT_EQ(RecordingSequencer::log(), QStringList({"stop"}));
    EXPECT_FALSE(windows().playlist().isLoaded());
    EXPECT_FALSE(windows().player().isLoaded());
    EXPECT_EQ(programEnds, 1);
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(PlayerCommands, ClosingWhenNothingWasEverPlayedStillStops) {
    PlayerWindow& player = started();
    player.close();
    flushDeletes();
    EXPECT_EQ(RecordingSequencer::log(), QStringList({"stop"}));
    EXPECT_EQ(programEnds, 1);
}

} // namespace
