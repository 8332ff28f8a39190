#include "PlayerFixture.h"

#include "player/Form1.h"
#include "player/ImageView.h"
#include "player/PictureButton.h"

#include <QFile>
#include <QIcon>
#include <QTest>

namespace {

using PlayerWindow = PlayerFixture;

TEST_F(PlayerWindow, IsAFixedBlackWindowWithMinimiseAndCloseOnlyAtItsPlace) {
    Form1& form = started();
    EXPECT_EQ(form.geometry(), QRect(92, 86, 136, 169));
    EXPECT_EQ(form.minimumSize(), QSize(136, 169));
    EXPECT_EQ(form.maximumSize(), QSize(136, 169));

    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.windowType(), Qt::Window); // keeps its task bar entry
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_TRUE(form.autoFillBackground());
    EXPECT_TRUE(form.windowIcon().availableSizes().contains(QSize(32, 32)));
}

TEST_F(PlayerWindow, PlacesEveryControlAsDesignedWithTheButtonsOnTop) {
    Form1& form = started();
    EXPECT_EQ(form.imgMascot->geometry(), QRect(0, 0, 137, 137));
    EXPECT_EQ(form.cmdLoad->geometry(), QRect(0, 136, 41, 17));
    EXPECT_EQ(form.cmdPause->geometry(), QRect(40, 136, 57, 17));
    EXPECT_EQ(form.cmdStop->geometry(), QRect(96, 136, 41, 17));
    EXPECT_EQ(form.cmdPlay->geometry(), QRect(0, 152, 137, 17));
    EXPECT_EQ(form.imgAnime[0]->geometry(), QRect(152, 0, 121, 137));
    EXPECT_EQ(form.imgAnime[1]->geometry(), QRect(272, 0, 121, 137));
    EXPECT_EQ(form.imgAnime[2]->geometry(), QRect(392, 0, 121, 137));
    EXPECT_EQ(form.imgAnime[3]->geometry(), QRect(256, 64, 121, 137));

    // At each one-pixel seam the control stored first lies on top.
    EXPECT_EQ(form.childAt(10, 136), form.cmdLoad);
    EXPECT_EQ(form.childAt(40, 140), form.cmdPause);
    EXPECT_EQ(form.childAt(96, 140), form.cmdStop);
    EXPECT_EQ(form.childAt(20, 152), form.cmdPlay);
    EXPECT_EQ(form.childAt(60, 135), form.imgMascot);
}

TEST_F(PlayerWindow, TabsThroughLoadPauseStopPlay) {
    Form1& form = started();
    QWidget* next = form.cmdLoad;
    QStringList order;
    for (QWidget* button : {form.cmdPause, form.cmdStop, form.cmdPlay}) {
        do
            next = next->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus);
        EXPECT_EQ(next, button);
    }
}

TEST_F(PlayerWindow, ButtonsShowTheirFaceAndThePressedPictureWhileHeldDown) {
    Form1& form = started();
    const struct {
        PictureButton* button;
        const char* name;
    } buttons[] = {{form.cmdLoad, "load"},
                   {form.cmdPause, "pause"},
                   {form.cmdStop, "stop"},
                   {form.cmdPlay, "play"}};
    for (const auto& [button, name] : buttons) {
        const QImage face(QStringLiteral(":/buttons/%1.jpg").arg(name));
        const QImage pressed(QStringLiteral(":/buttons/%1_down.jpg").arg(name));
        ASSERT_EQ(face.size(), button->size()) << name;
        ASSERT_EQ(pressed.size(), button->size()) << name;
        const auto shown = [&] { return button->grab().toImage().convertToFormat(face.format()); };

        EXPECT_EQ(shown(), face) << name;
        QTest::mousePress(button, Qt::LeftButton);
        EXPECT_EQ(shown(), pressed) << name;
        QTest::mouseRelease(button, Qt::LeftButton);
        EXPECT_EQ(shown(), face) << name;
    }
}

TEST_F(PlayerWindow, TheMascotShowsItsFrameUnscaledFromItsTopLeftCorner) {
    Form1& form = started();
    const QImage shown = form.imgMascot->grab().toImage();
    const QImage frame = form.imgAnime[0]->pixmap().toImage().convertToFormat(shown.format());
    EXPECT_EQ(shown.copy(0, 0, 121, 137), frame);
}

} // namespace
