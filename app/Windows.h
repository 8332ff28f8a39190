#pragma once

#include "about/AboutWindow.h"
#include "app/PlayerForPlaylist.h"
#include "core/WindowInstance.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "sound/Sequencer.h"
#include "state/SharedState.h"
#include "system/FileDialog.h"

// The program's three windows, each a single instance reached by its name,
// and the state the player and the playlist share. Each window is built
// with what it needs of the others; the sequencer and the file dialogs come
// from whoever builds the program: main(), or a test.
class Windows {
public:
    // The sequencer outlives the windows.
    Windows(Sequencer& sequencer, FileDialog::Factory makeFileDialog);
    // Destroys every loaded window without its unloading().
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    WindowInstance<PlayerWindow>& player() { return player_; }
    WindowInstance<PlaylistWindow>& playlist() { return playlist_; }
    WindowInstance<AboutWindow>& about() { return about_; }

    SharedState& sharedState() { return state_; }

    // Destroys every loaded window without its unloading(): at the very end
    // of the program.
    void destroyAll();

private:
    Sequencer& sequencer_;
    const FileDialog::Factory makeFileDialog_;
    SharedState state_;
    WindowInstance<PlayerWindow> player_;
    PlayerForPlaylist playerControl_{player_};
    WindowInstance<PlaylistWindow> playlist_;
    WindowInstance<AboutWindow> about_;
};
