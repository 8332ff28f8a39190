#pragma once

// What the playlist window asks of the player window: playing the current
// file (a list entry just chosen) and the mascot's animation.
class PlayerControl {
public:
    virtual ~PlayerControl() = default;

    virtual void play() = 0;
    // Starts the mascot unless it moves already.
    virtual void startAnimation() = 0;
    virtual void stopAnimation() = 0;
    virtual void setFrameInterval(int milliseconds) = 0;
};
