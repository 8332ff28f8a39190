#include "app/PlayerForPlaylist.h"

void PlayerForPlaylist::play() {
    player_->play();
}

void PlayerForPlaylist::startAnimation() {
    player_->startAnimation();
}

void PlayerForPlaylist::stopAnimation() {
    player_->stopAnimation();
}

void PlayerForPlaylist::setFrameInterval(int milliseconds) {
    player_->setFrameInterval(milliseconds);
}
