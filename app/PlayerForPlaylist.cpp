#include "app/PlayerForPlaylist.h"

#include "app/Windows.h"
#include "player/PlayerWindow.h"

void PlayerForPlaylist::play() {
    windows::player()->play();
}

void PlayerForPlaylist::startAnimation() {
    windows::player()->startAnimation();
}

void PlayerForPlaylist::stopAnimation() {
    windows::player()->stopAnimation();
}

void PlayerForPlaylist::setFrameInterval(int milliseconds) {
    windows::player()->setFrameInterval(milliseconds);
}
