#include "PlayerFixture.h"

#include "player/PictureButton.h"
#include "player/PlayerWindow.h"

#include <QTest>
#include <QTimer>

namespace {

using MascotAnimation = PlayerFixture;

TEST_F(MascotAnimation, PlayStartsTheTimerAtTheSetPaceAndTheFirstTickShowsFrameZero) {
    PlayerWindow& form = started();
    state().frameInterval = 37;
    form.play();
    EXPECT_TRUE(animationTimer()->isActive());
    EXPECT_EQ(animationTimer()->interval(), 37);

    std::vector<int> shown;
    for (int i = 0; i < 6; ++i) {
        form.showNextFrame();
        shown.push_back(mascotFrame());
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 0, 1}));
}

TEST_F(MascotAnimation, StopKeepsTheLastFrameAndTheNextPlayStartsAgainAtFrameZero) {
    PlayerWindow& form = started();
    form.play();
    for (int i = 0; i < 3; ++i)
        form.showNextFrame();
    ASSERT_EQ(mascotFrame(), 2);

    form.stop();
    EXPECT_EQ(mascotFrame(), 2);
    EXPECT_FALSE(animationTimer()->isActive());

    form.play();
    EXPECT_EQ(mascotFrame(), 2);
    form.showNextFrame();
    EXPECT_EQ(mascotFrame(), 0);
}

TEST_F(MascotAnimation, PauseKeepsTheMascotMoving) {
    PlayerWindow& form = started();
    form.play();
    form.showNextFrame();
    form.pause();
    form.pause();
    EXPECT_TRUE(animationTimer()->isActive());
    form.showNextFrame();
    EXPECT_EQ(mascotFrame(), 1);
}

TEST_F(MascotAnimation, WithTheAnimationOffPlayLeavesTheMascotStill) {
    PlayerWindow& form = started();
    for (AnimationSwitch off : {AnimationSwitch::Off, AnimationSwitch::Mixed}) {
        state().animation = off;
        form.play();
        EXPECT_FALSE(animationTimer()->isActive()) << int(off);
        EXPECT_EQ(mascotFrame(), 0);
    }
}

TEST_F(MascotAnimation, TheTimerDrivesTheTicks) {
    started();
    state().frameInterval = 1;
    QTest::mouseClick(button("play"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mascotFrame() == 2; }, 5000));
    EXPECT_TRUE(fatalReports.isEmpty());
}

// From a pace far slower than the wait, to a fast one: the next tick comes
// at the new pace, and the frame order goes on undisturbed.
TEST_F(MascotAnimation, AChangeOfIntervalTakesEffectFromTheNextTick) {
    PlayerWindow& form = started();
    state().frameInterval = 30000;
    form.play();
    form.showNextFrame();
    form.setFrameInterval(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mascotFrame() == 1; }, 10000));
}

} // namespace
