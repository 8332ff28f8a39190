#include "PlayerFixture.h"

#include "app/Errors.h"
#include "app/Forms.h"
#include "app/Module1.h"
#include "app/Platform.h"
#include "player/Form1.h"
#include "player/ImageView.h"
#include "player/PictureButton.h"
#include "playlist/Form2.h"
#include "support/RecordingSequencer.h"
#include "support/ScriptedFileDialog.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTest>

namespace {

const QString midiFilter = QStringLiteral("MIDI(*.mid;*.rmi)|*.mid;*.rmi|全てのファイル(*.*)|*.*");

QStringList playSequence(const QString& file) {
    return {"stop", "close", "open " + file, "play"};
}

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A device whose open fails, as a broken driver would.
class FailingSequencer : public RecordingSequencer {
public:
    void open(const QString& fileName) override {
        RecordingSequencer::open(fileName);
        throw PeloraError("the device failed");
    }
};

// An open dialog that notes whether the animation ran while it was open, then is cancelled.
class TimerProbeDialog : public FileDialog {
public:
    TimerProbeDialog(const QString& filter, bool* active) : FileDialog(filter), active_(active) {}
    void ShowOpen() override {
        *active_ = forms::Form1()->Timer.isActive();
        throw DialogCancelled();
    }
    void ShowSave() override {}
    QString FileName() const override { return {}; }

private:
    bool* active_;
};

using PlayerCommands = PlayerFixture;

TEST_F(PlayerCommands, PlayStopsThenShowsThePathOpensAndPlaysIt) {
    Form1& form = started();
    Module1::strMidiFile = "/music/a b.mid";
    QTest::mouseClick(form.cmdPlay, Qt::LeftButton);
    EXPECT_EQ(RecordingSequencer::log(), playSequence("/music/a b.mid"));
    EXPECT_EQ(form.windowTitle(), "/music/a b.mid");

    // Again while playing: the same steps, the file from its beginning.
    RecordingSequencer::log().clear();
    QTest::mouseClick(form.cmdPlay, Qt::LeftButton);
    EXPECT_EQ(RecordingSequencer::log(), playSequence("/music/a b.mid"));
}

TEST_F(PlayerCommands, PlayWithNoFileChosenSendsAnEmptyNameAndEmptiesTheCaption) {
    Form1& form = started();
    QTest::mouseClick(form.cmdPlay, Qt::LeftButton);
    EXPECT_EQ(RecordingSequencer::log(), playSequence(""));
    EXPECT_EQ(form.windowTitle(), "");
    EXPECT_TRUE(form.Timer.isActive());
}

TEST_F(PlayerCommands, PauseSendsLowerCasePauseEveryTimeAndNothingElse) {
    Form1& form = started();
    Module1::strMidiFile = "a.mid";
    form.cmdPlay_Click();
    form.Timer_Timer();
    RecordingSequencer::log().clear();
    QTest::mouseClick(form.cmdPause, Qt::LeftButton);
    QTest::mouseClick(form.cmdPause, Qt::LeftButton);
    EXPECT_EQ(RecordingSequencer::log(), QStringList({"pause", "pause"}));
    EXPECT_TRUE(form.Timer.isActive());
    EXPECT_EQ(form.intFrame, 1);
    EXPECT_EQ(form.windowTitle(), "a.mid");
}

TEST_F(PlayerCommands, StopSendsStopAndCloseAndStopsTheTimer) {
    Form1& form = started();
    form.cmdPlay_Click();
    RecordingSequencer::log().clear();
    QTest::mouseClick(form.cmdStop, Qt::LeftButton);
    EXPECT_EQ(RecordingSequencer::log(), QStringList({"stop", "close"}));
    EXPECT_FALSE(form.Timer.isActive());
}

TEST_F(PlayerCommands, LoadAsksForAMidiFileAndPlaysIt) {
    Form1& form = started();
    ScriptedFileDialog::answer("/cd/曲.rmi");
    QTest::mouseClick(form.cmdLoad, Qt::LeftButton);
    EXPECT_EQ(ScriptedFileDialog::shows(), QStringList({"open " + midiFilter}));
    EXPECT_EQ(Module1::strMidiFile, "/cd/曲.rmi");
    EXPECT_EQ(RecordingSequencer::log(), playSequence("/cd/曲.rmi"));
    EXPECT_EQ(form.windowTitle(), "/cd/曲.rmi");
    EXPECT_TRUE(form.Timer.isActive());
}

TEST_F(PlayerCommands, ACancelledLoadLeavesTheMusicPlayingAndTheMascotStill) {
    Form1& form = started();
    ScriptedFileDialog::answer("first.mid");
    form.cmdLoad_Click();
    form.Timer_Timer();
    form.Timer_Timer();
    RecordingSequencer::log().clear();

    ScriptedFileDialog::cancel();
    QTest::mouseClick(form.cmdLoad, Qt::LeftButton);
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_TRUE(RecordingSequencer::log().isEmpty());
    EXPECT_FALSE(form.Timer.isActive());
    EXPECT_EQ(mascotFrame(), 1);
    EXPECT_EQ(Module1::strMidiFile, "first.mid");
    EXPECT_EQ(form.windowTitle(), "first.mid");
}

TEST_F(PlayerCommands, TheTimerStopsBeforeTheDialogOpens) {
    bool activeWhileOpen = true;
    platform().makeFileDialog = [&](const QString& filter) {
        return std::make_unique<TimerProbeDialog>(filter, &activeWhileOpen);
    };
    Form1& form = started();
    form.cmdPlay_Click();
    ASSERT_TRUE(form.Timer.isActive());
    QTest::mouseClick(form.cmdLoad, Qt::LeftButton);
    EXPECT_FALSE(activeWhileOpen);
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(PlayerCommands, OnlyLoadSwallowsAFailureOfThePlayCommand) {
    platform().makeSequencer = [] { return std::make_unique<FailingSequencer>(); };
    Form1& form = started();
    ScriptedFileDialog::answer("bad.mid");
    QTest::mouseClick(form.cmdLoad, Qt::LeftButton);
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_EQ(Module1::strMidiFile, "bad.mid");
    EXPECT_EQ(form.windowTitle(), "bad.mid");
    EXPECT_FALSE(form.Timer.isActive()); // the failure came before the timer step

    QTest::mouseClick(form.cmdPlay, Qt::LeftButton);
    EXPECT_EQ(fatalReports, QStringList({"the device failed"}));
}

TEST_F(PlayerCommands, MinimisingHidesThePlaylistAndOnlyTheMascotBringsItBack) {
    Form1& form = started();
    form.showMinimized();
    EXPECT_FALSE(forms::Form2()->isVisible());
    form.showNormal();
    EXPECT_FALSE(forms::Form2()->isVisible());
    QTest::mouseClick(form.imgMascot, Qt::LeftButton);
    EXPECT_TRUE(forms::Form2()->isVisible());
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(PlayerCommands, TheMascotBringsBackAClosedPlaylistCreatedAfresh) {
    Form1& form = started();
    QPointer<Form2> closed = &forms::Form2().load();
    closed->close();
    flushDeletes();
    EXPECT_TRUE(closed.isNull());
    EXPECT_FALSE(forms::Form2().isLoaded());
    EXPECT_EQ(programEnds, 0);

    QTest::mouseClick(form.imgMascot, Qt::LeftButton);
    ASSERT_TRUE(forms::Form2().isLoaded());
    EXPECT_TRUE(forms::Form2()->isVisible());
}

TEST_F(PlayerCommands, MinimisingAfterThePlaylistWasClosedLoadsItHidden) {
    Form1& form = started();
    forms::Form2()->close();
    flushDeletes();
    form.showMinimized();
    ASSERT_TRUE(forms::Form2().isLoaded());
    EXPECT_FALSE(forms::Form2()->isVisible());
}

TEST_F(PlayerCommands, ClosingThePlayerSendsCloseUnloadsThePlaylistAndEndsTheProgram) {
    Form1& form = started();
    Module1::strMidiFile = "a.mid";
    form.cmdPlay_Click();
    RecordingSequencer::log().clear();
    form.close();
    flushDeletes();
    EXPECT_EQ(RecordingSequencer::log(), QStringList({"close"}));
    EXPECT_FALSE(forms::Form2().isLoaded());
    EXPECT_FALSE(forms::Form1().isLoaded());
    EXPECT_EQ(programEnds, 1);
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(PlayerCommands, ClosingWhenNothingWasEverPlayedStillSendsClose) {
    Form1& form = started();
    form.close();
    flushDeletes();
    EXPECT_EQ(RecordingSequencer::log(), QStringList({"close"}));
    EXPECT_EQ(programEnds, 1);
}

} // namespace
