#pragma once

#include "core/WindowInstance.h"
#include "outside/MediaPlayerService.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "sound/Sequencer.h"
#include "state/SharedState.h"

#include <QObject>
#include <QString>

#include <functional>

class AfterModalWindows;
class ExternalFileOpener;
class UserSettings;

// The desktop's media controls and media keys on Pelora: they press the
// player's buttons and choose the next or previous list entry as the user
// would, seek, loop and set the volume, at once, also under an open dialog
// or message; they open a file, raise the windows or quit once no dialog or
// message is open. What they show follows the engine: what sounds, where
// and for how long, not what was asked for. Without a session bus there
// are none, and Pelora runs as it would without them.
class MediaControls : public QObject, private MediaPlayerService::Commands {
    Q_OBJECT
public:
    // Everything given outlives the controls. The volume kept from the last
    // run is given to the sequencer at once.
    MediaControls(WindowInstance<PlayerWindow>& player, WindowInstance<PlaylistWindow>& playlist,
                  const SharedState& state, Sequencer& sequencer, AfterModalWindows& afterModal,
                  ExternalFileOpener& opener, UserSettings& settings);

    // Offers the controls on the session bus; false without one.
    bool start();

private:
    void play() override;
    void pause() override;
    void playPause() override;
    void stop() override;
    void next() override;
    void previous() override;
    void raise() override;
    void quit() override;
    void openFile(const QString& fileName) override;
    void seek(std::chrono::microseconds position) override;
    void setLoop(MediaPlayerService::Loop loop) override;
    void setVolume(double volume) override;

    // Runs `command` from the event loop once the desktop's call is
    // answered, also under an open dialog or message: the transport changes
    // nothing the user is making there, and the lock screen can silence the
    // music while a message waits.
    void atOnce(std::function<void()> command);
    // Runs `command` on the player window at once; nothing once the player
    // has closed.
    void onPlayer(const std::function<void(PlayerWindow&)>& command);
    // Runs `command` once no dialog or message is open, as the user's own
    // clicks would wait.
    void whenFree(std::function<void()> command);
    // Tells the service what the player holds and what sounds, once it is
    // on the bus.
    void trackChanged();
    void soundChanged(const SoundState& sound);
    void showSound(const SoundState& sound);
    void playlistChanged();
    bool wrapsAround() const { return service_.loop() == MediaPlayerService::Loop::Playlist; }

    WindowInstance<PlayerWindow>& player_;
    WindowInstance<PlaylistWindow>& playlist_;
    const SharedState& state_;
    Sequencer& sequencer_;
    AfterModalWindows& afterModal_;
    ExternalFileOpener& opener_;
    UserSettings& settings_;
    MediaPlayerService service_;
};
