#include "app/Windows.h"

Windows::Windows(Needs needs)
    : needs_(std::move(needs)), loaded_(needs_.onAllClosed),
      player_(loaded_, needs_.focus,
              [this] {
                  return new PlayerWindow(state_, playlist_, needs_.sequencer,
                                          needs_.makeFileDialog, needs_.messages);
              }),
      playlist_(loaded_, needs_.focus,
                [this] {
                    return new PlaylistWindow(state_, playerControl_, about_, needs_.makeFileDialog,
                                              needs_.messages);
                }),
      about_(loaded_, needs_.focus, [] { return new AboutWindow(); }) {}

Windows::~Windows() {
    destroyAll();
}

void Windows::start() {
    player_.load();
    player_.show();
    player_->activateWindow();
}

void Windows::destroyAll() {
    about_.destroy();
    playlist_.destroy();
    player_.destroy();
}
