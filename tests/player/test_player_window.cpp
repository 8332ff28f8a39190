#include "PlayerFixture.h"

#include "app/Windows.h"
#include "player/ImageView.h"
#include "player/PictureButton.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "support/RecordingSequencer.h"
#include "support/ScriptedFileDialog.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QTest>

namespace {

using PlayerWindowTest = PlayerFixture;

// A click anywhere on the window reaches the control under the pointer; at
// each one-pixel seam between two controls, the one on top.
TEST_F(PlayerWindowTest, EachClickReachesTheControlUnderThePointer) {
    PlayerWindow& player = started();
    const auto clickAt = [&](int x, int y) {
        QWidget* target = player.childAt(x, y);
        ASSERT_NE(target, nullptr) << x << "," << y;
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&player, QPoint(x, y)));
    };
    windows().playlist()->hide();
    clickAt(60, 135); // the mascot's last row, above the buttons
    EXPECT_TRUE(windows().playlist()->isVisible());

    const struct {
        QPoint at;
        QStringList calls;
    } clicks[] = {
        {{40, 140}, {"pause"}},                 // load | pause
        {{96, 140}, {"stop"}},                  // pause | stop
        {{135, 140}, {"stop"}},                 // stop, right edge
        {{20, 152}, {"stop", "open ", "play"}}, // the row | play
        {{135, 168}, {"stop", "open ", "play"}},
    };
    for (const auto& [at, calls] : clicks) {
        RecordingSequencer::log().clear();
        clickAt(at.x(), at.y());
        EXPECT_EQ(RecordingSequencer::log(), calls) << at.x() << "," << at.y();
    }
    ScriptedFileDialog::cancel();
    clickAt(10, 136); // load
    EXPECT_EQ(ScriptedFileDialog::shows().size(), 1);
    EXPECT_TRUE(fatalReports.isEmpty());
}

// The load button has the focus when the window opens; Tab goes through the
// buttons to the mascot, never to its hidden frames. With the focus the
// mascot shows a frame, and Space or Return on it brings the closed
// playlist back, as a click does.
TEST_F(PlayerWindowTest, TabReachesTheMascotAndItsKeysBringThePlaylistBack) {
    PlayerWindow& window = started();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_EQ(QApplication::focusWidget(), button("load"));
    const QImage unframed = mascot()->grab().toImage();
    QStringList order;
    for (int tab = 0; tab < 5; ++tab) {
        press(Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order,
              QStringList({"pauseButton", "stopButton", "playButton", "mascot", "loadButton"}));

    press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), mascot());
    EXPECT_TRUE(mascot()->grab().toImage() != unframed);
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        windows().playlist()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_FALSE(windows().playlist().isLoaded());
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        press(key);
        EXPECT_TRUE(windows().playlist().isLoaded() && windows().playlist()->isVisible());
    }
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(PlayerWindowTest, TheFocusedButtonShowsAFrameAndSpaceOrReturnPressesIt) {
    PlayerWindow& window = started();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    PictureButton* play = button("play");
    const QImage unframed = play->grab().toImage();
    for (int tab = 0; tab < 4 && QApplication::focusWidget() != play; ++tab)
        press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), play);
    EXPECT_NE(play->grab().toImage(), unframed);

    press(Qt::Key_Return);
    EXPECT_EQ(RecordingSequencer::log(), QStringList({"stop", "open ", "play"}));
    press(Qt::Key_Tab, Qt::ShiftModifier);
    RecordingSequencer::log().clear();
    press(Qt::Key_Space);
    EXPECT_EQ(RecordingSequencer::log(), QStringList({"stop"}));
    EXPECT_EQ(play->grab().toImage(), unframed);
}

TEST_F(PlayerWindowTest, ButtonsShowTheirFaceAndThePressedPictureWhileHeldDown) {
    started();
    for (const char* name : {"load", "pause", "stop", "play"}) {
        PictureButton* held = button(name);
        const QImage face(QStringLiteral(":/buttons/%1.jpg").arg(name));
        const QImage pressed(QStringLiteral(":/buttons/%1_down.jpg").arg(name));
        ASSERT_EQ(face.size(), held->size()) << name;
        ASSERT_EQ(pressed.size(), held->size()) << name;
        const auto shown = [&] { return held->grab().toImage().convertToFormat(face.format()); };

        EXPECT_EQ(shown(), face) << name;
        QTest::mousePress(held, Qt::LeftButton);
        EXPECT_EQ(shown(), pressed) << name;
        QTest::mouseRelease(held, Qt::LeftButton);
        EXPECT_EQ(shown(), face) << name;
    }
}

TEST_F(PlayerWindowTest, TheMascotShowsItsFrameUnscaledFromItsTopLeftCorner) {
    started();
    const QImage shown = mascot()->grab().toImage();
    const QImage first = frame(0)->pixmap().toImage().convertToFormat(shown.format());
    EXPECT_EQ(shown.copy(0, 0, 121, 137), first);
}

} // namespace
