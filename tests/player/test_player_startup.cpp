#include "PlayerFixture.h"

#include "about/AboutWindow.h"
#include "app/Windows.h"
#include "core/ErrorModel.h"
#include "player/ImageView.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "support/RecordingSequencer.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>

namespace {

// Records the captions of top-level windows in the order they are shown.
class ShowRecorder : public QObject {
public:
    QStringList shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow())
            shown << widget->windowTitle();
        return false;
    }
};

using PlayerStartup = PlayerFixture;

TEST_F(PlayerStartup, EndsWithBothWindowsUpNothingOpenedAndTheMascotStill) {
    ShowRecorder recorder;
    qApp->installEventFilter(&recorder);
    PlayerWindow* player = start();
    qApp->removeEventFilter(&recorder);

    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_EQ(recorder.shown, QStringList({"MidiList", "Pelora"}));
    EXPECT_TRUE(windows().playlist()->isVisible());
    EXPECT_FALSE(windows().about().isLoaded());

    EXPECT_TRUE(RecordingSequencer::log().isEmpty());
    EXPECT_FALSE(animationTimer()->isActive());
    EXPECT_EQ(animationTimer()->interval(), 500);
    EXPECT_EQ(animationTimer()->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(mascotFrame(), 0);
    EXPECT_EQ(player->windowTitle(), "Pelora");

    EXPECT_TRUE(state().currentFile.isEmpty());
    EXPECT_EQ(state().frameInterval, 500);
    EXPECT_EQ(state().animation, AnimationSwitch::On);
}

TEST_F(PlayerStartup, FramesComeFromTheWorkingDirectoryWhenItHoldsThem) {
    clearFrames();
    // Frames of the working directory, in another order than the data folder's.
    for (int i = 0; i < 4; ++i)
        putFrame(3 - i, QStringLiteral("A%1.gif").arg(i));
    started();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(frame(i)->pixmap().toImage(),
                  dataFrame(3 - i).convertToFormat(frame(i)->pixmap().toImage().format()))
            << i;
}

TEST_F(PlayerStartup, FramesComeFromTheDataFolderWhenTheWorkingDirectoryHasNone) {
    clearFrames();
    started();
    for (int i = 0; i < 4; ++i) {
        const QImage held = frame(i)->pixmap().toImage();
        EXPECT_EQ(held, dataFrame(i).convertToFormat(held.format())) << i;
    }
    EXPECT_EQ(mascotFrame(), 0);
}

TEST_F(PlayerStartup, AFrameMissingAmongTheOthersEndsStartUpWithAReport) {
    QFile::remove("A2.gif");
    PlayerWindow* player = start();

    ASSERT_EQ(fatalReports.size(), 1);
    EXPECT_TRUE(fatalReports[0].contains("A2.gif")) << fatalReports[0].toStdString();
    EXPECT_NE(ErrorModel::exitStatus(), 0);
    EXPECT_TRUE(windows().playlist()->isVisible());
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(player->isVisible());
    EXPECT_TRUE(RecordingSequencer::log().isEmpty()); // nothing opened
}

TEST_F(PlayerStartup, AFrameThatIsNoPictureEndsStartUpWithAReportNamingIt) {
    QFile broken("A1.gif");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("GIF89a, but nothing more");
    broken.close();
    start();
    ASSERT_EQ(fatalReports.size(), 1);
    EXPECT_TRUE(fatalReports[0].contains("A1.gif")) << fatalReports[0].toStdString();
    EXPECT_NE(ErrorModel::exitStatus(), 0);
}

} // namespace
