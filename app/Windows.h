#pragma once

#include "about/AboutWindow.h"
#include "app/PlayerForPlaylist.h"
#include "core/FileDialog.h"
#include "core/FocusRestorer.h"
#include "core/LoadedWindows.h"
#include "core/WindowInstance.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "sound/Sequencer.h"
#include "state/SharedState.h"

#include <functional>

class UserMessages;

// The program's three windows, each a single instance reached by its name,
// and the state the player and the playlist share. Each window is built
// with what it needs of the others; the sequencer, the file dialogs and the
// messages come from whoever builds the program: main(), or a test.
class Windows {
public:
    struct Needs {
        Sequencer& sequencer;
        FileDialog::Factory makeFileDialog;
        UserMessages& messages;
        // Where the focus goes back after a modal window.
        FocusRestorer::Memory& focus;
        // Runs once the last loaded window has been unloaded.
        std::function<void()> onAllClosed;
    };

    // What is needed outlives the windows.
    explicit Windows(Needs needs);
    // Destroys every loaded window without its unloading().
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // The program's start: the player window is the start-up object, and
    // its load handler brings up everything else.
    void start();

    WindowInstance<PlayerWindow>& player() { return player_; }
    WindowInstance<PlaylistWindow>& playlist() { return playlist_; }
    WindowInstance<AboutWindow>& about() { return about_; }

    SharedState& sharedState() { return state_; }
    const LoadedWindows& loaded() const { return loaded_; }

    // Destroys every loaded window without its unloading(): at the very end
    // of the program.
    void destroyAll();

private:
    Needs needs_;
    SharedState state_;
    LoadedWindows loaded_;
    WindowInstance<PlayerWindow> player_;
    PlayerForPlaylist playerControl_{player_};
    WindowInstance<PlaylistWindow> playlist_;
    WindowInstance<AboutWindow> about_;
};
