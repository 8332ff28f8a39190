#include "app/Windows.h"

Windows::Windows(Sequencer& sequencer, FileDialog::Factory makeFileDialog)
    : sequencer_(sequencer), makeFileDialog_(std::move(makeFileDialog)),
      player_([this] { return new PlayerWindow(state_, playlist_, sequencer_, makeFileDialog_); }),
      playlist_(
          [this] { return new PlaylistWindow(state_, playerControl_, about_, makeFileDialog_); }),
      about_([] { return new AboutWindow(); }) {}

Windows::~Windows() {
    destroyAll();
}

void Windows::destroyAll() {
    about_.destroy();
    playlist_.destroy();
    player_.destroy();
}
