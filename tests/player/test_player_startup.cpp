#include "PlayerFixture.h"

#include "about/frmAbout.h"
#include "app/ErrorModel.h"
#include "app/Forms.h"
#include "app/Module1.h"
#include "player/Form1.h"
#include "player/ImageView.h"
#include "playlist/Form2.h"
#include "support/RecordingSequencer.h"

#include <QApplication>
#include <QEvent>
#include <QFile>

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

TEST_F(PlayerStartup, EndsWithBothWindowsUpTheDeviceConfiguredAndTheMascotStill) {
    ShowRecorder recorder;
    qApp->installEventFilter(&recorder);
    Form1* form = start();
    qApp->removeEventFilter(&recorder);

    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_EQ(recorder.shown, QStringList({"MidiList", "Pelora"}));
    EXPECT_TRUE(forms::Form2()->isVisible());
    EXPECT_FALSE(forms::frmAbout().isLoaded());

    EXPECT_TRUE(RecordingSequencer::log().isEmpty()); // nothing opened, nothing played
    EXPECT_FALSE(form->Timer.isActive());
    EXPECT_EQ(form->Timer.interval(), 500);
    EXPECT_EQ(form->Timer.timerType(), Qt::PreciseTimer);
    EXPECT_EQ(mascotFrame(), 0);
    EXPECT_EQ(form->intFrame, 0);
    EXPECT_EQ(form->windowTitle(), "Pelora");

    EXPECT_TRUE(Module1::strMidiFile.isEmpty());
    EXPECT_EQ(Module1::intSpeed, 500);
    EXPECT_EQ(Module1::bytAnime, 1);
}

TEST_F(PlayerStartup, FramesComeFromTheWorkingDirectoryWhenItHoldsThem) {
    clearFrames();
    // Frames of the working directory, in another order than the data folder's.
    for (int i = 0; i < 4; ++i)
        putFrame(3 - i, QStringLiteral("A%1.gif").arg(i));
    Form1& form = started();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(form.imgAnime[i]->pixmap().toImage(),
                  dataFrame(3 - i).convertToFormat(form.imgAnime[i]->pixmap().toImage().format()))
            << i;
}

TEST_F(PlayerStartup, FramesComeFromTheDataFolderWhenTheWorkingDirectoryHasNone) {
    clearFrames();
    Form1& form = started();
    for (int i = 0; i < 4; ++i) {
        const QImage held = form.imgAnime[i]->pixmap().toImage();
        EXPECT_EQ(held, dataFrame(i).convertToFormat(held.format())) << i;
    }
    EXPECT_EQ(mascotFrame(), 0);
}

TEST_F(PlayerStartup, AFrameMissingAmongTheOthersEndsStartUpWithAReport) {
    QFile::remove("A2.gif");
    Form1* form = start();

    ASSERT_EQ(fatalReports.size(), 1);
    EXPECT_TRUE(fatalReports[0].contains("A2.gif")) << fatalReports[0].toStdString();
    EXPECT_NE(ErrorModel::exitStatus(), 0);
    EXPECT_TRUE(forms::Form2()->isVisible());
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(RecordingSequencer::log().isEmpty());
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
