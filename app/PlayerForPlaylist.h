#pragma once

#include "core/WindowInstance.h"
#include "player/PlayerWindow.h"
#include "playlist/PlayerControl.h"

// The player window as the playlist window reaches it: each call goes to
// the player's single instance, loading it if it is not loaded.
class PlayerForPlaylist : public PlayerControl {
public:
    explicit PlayerForPlaylist(WindowInstance<PlayerWindow>& player) : player_(player) {}

    void play() override;
    void startAnimation() override;
    void stopAnimation() override;
    void setFrameInterval(int milliseconds) override;

private:
    WindowInstance<PlayerWindow>& player_;
};
