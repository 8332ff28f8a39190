#include "PlayerFixture.h"

#include "player/PictureButton.h"
#include "player/PlayerWindow.h"

#include <QTest>
#include <QTimer>

namespace {

using MascotAnimation = PlayerFixture;

TEST_F(MascotAnimation, PlayStartsTheTimerAtTheSetPaceAndTheFirstTickShowsFrameZero) {
    PlayerWindow& player = started();
    state().frameInterval = 37;
    player.play();
    EXPECT_TRUE(animationTimer()->isActive());
    EXPECT_EQ(animationTimer()->interval(), 37);

    std::vector<int> shown;
    for (int i = 0; i < 6; ++i) {
        player.showNextFrame();
        shown.push_back(mascotFrame());
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 0, 1}));
}

TEST_F(MascotAnimation, StopKeepsTheLastFrameAndTheNextPlayStartsAgainAtFrameZero) {
    PlayerWindow& player = started();
    player.play();
    for (int i = 0; i < 3; ++i)
        player.showNextFrame();
    ASSERT_EQ(mascotFrame(), 2);

    player.stop();
    EXPECT_EQ(mascotFrame(), 2);
    EXPECT_FALSE(animationTimer()->isActive());

    player.play();
    EXPECT_EQ(mascotFrame(), 2);
    player.showNextFrame();
    EXPECT_EQ(mascotFrame(), 0);
}

TEST_F(MascotAnimation, PauseKeepsTheMascotMoving) {
    PlayerWindow& player = started();
    player.play();
    player.showNextFrame();
    player.pause();
    player.pause();
    EXPECT_TRUE(animationTimer()->isActive());
    player.showNextFrame();
    EXPECT_EQ(mascotFrame(), 1);
}

TEST_F(MascotAnimation, WithTheAnimationOffPlayLeavesTheMascotStill) {
    PlayerWindow& player = started();
    for (AnimationSwitch off : {AnimationSwitch::Off, AnimationSwitch::Mixed}) {
        state().animation = off;
        player.play();
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
    PlayerWindow& player = started();
    state().frameInterval = 30000;
    player.play();
    player.showNextFrame();
    player.setFrameInterval(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mascotFrame() == 1; }, 10000));
}

} // namespace
