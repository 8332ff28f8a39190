#include "PlayerFixture.h"

#include "app/Module1.h"
#include "player/Form1.h"
#include "player/PictureButton.h"

#include <QTest>

namespace {

using MascotAnimation = PlayerFixture;

TEST_F(MascotAnimation, PlayStartsTheTimerAtTheSetPaceAndTheFirstTickShowsFrameZero) {
    Form1& form = started();
    Module1::intSpeed = 37;
    form.cmdPlay_Click();
    EXPECT_TRUE(form.Timer.isActive());
    EXPECT_EQ(form.Timer.interval(), 37);

    std::vector<int> shown;
    for (int i = 0; i < 6; ++i) {
        form.Timer_Timer();
        shown.push_back(mascotFrame());
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 0, 1}));
}

TEST_F(MascotAnimation, StopKeepsTheLastFrameAndTheNextPlayStartsAgainAtFrameZero) {
    Form1& form = started();
    form.cmdPlay_Click();
    for (int i = 0; i < 3; ++i)
        form.Timer_Timer();
    ASSERT_EQ(mascotFrame(), 2);

    form.cmdStop_Click();
    EXPECT_EQ(mascotFrame(), 2);
    EXPECT_EQ(form.intFrame, 0);
    EXPECT_FALSE(form.Timer.isActive());

    form.cmdPlay_Click();
    EXPECT_EQ(mascotFrame(), 2);
    form.Timer_Timer();
    EXPECT_EQ(mascotFrame(), 0);
}

TEST_F(MascotAnimation, PauseKeepsTheMascotMoving) {
    Form1& form = started();
    form.cmdPlay_Click();
    form.Timer_Timer();
    form.cmdPause_Click();
    form.cmdPause_Click();
    EXPECT_TRUE(form.Timer.isActive());
    form.Timer_Timer();
    EXPECT_EQ(mascotFrame(), 1);
}

TEST_F(MascotAnimation, WithTheAnimationOffPlayLeavesTheMascotStill) {
    Form1& form = started();
    for (uint8_t off : {0, 2, 255}) {
        Module1::bytAnime = off;
        form.cmdPlay_Click();
        EXPECT_FALSE(form.Timer.isActive()) << int(off);
        EXPECT_EQ(mascotFrame(), 0);
    }
}

TEST_F(MascotAnimation, TheTimerDrivesTheTicks) {
    Form1& form = started();
    Module1::intSpeed = 1;
    QTest::mouseClick(form.cmdPlay, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mascotFrame() == 2; }, 5000));
    EXPECT_TRUE(fatalReports.isEmpty());
}

// From a pace far slower than the wait, to a fast one: the next tick comes
// at the new pace, and the frame order goes on undisturbed.
TEST_F(MascotAnimation, AChangeOfIntervalTakesEffectFromTheNextTick) {
    Form1& form = started();
    Module1::intSpeed = 30000;
    form.cmdPlay_Click();
    form.Timer_Timer();
    form.Timer.setInterval(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mascotFrame() == 1; }, 10000));
}

} // namespace
