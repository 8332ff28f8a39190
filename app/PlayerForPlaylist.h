#pragma once

#include "playlist/PlayerControl.h"

// The player window as the playlist window reaches it: each call goes to
// the player's single instance, loading it if it is not loaded.
class PlayerForPlaylist : public PlayerControl {
public:
    void play() override;
    void startAnimation() override;
    void stopAnimation() override;
    void setFrameInterval(int milliseconds) override;
};
