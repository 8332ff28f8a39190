#pragma once

#include "core/WindowInstance.h"
#include "outside/MediaPlayerService.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "state/SharedState.h"

#include <QObject>
#include <QString>

#include <functional>

class AfterModalWindows;
class ExternalFileOpener;

// The desktop's media controls and media keys on Pelora's windows: they
// press the player's buttons and choose the next or previous list entry as
// the user would, once no dialog or message is open; and they are told what
// the player plays. Without a session bus there are none, and Pelora runs
// as it would without them.
class MediaControls : public QObject, private MediaPlayerService::Commands {
    Q_OBJECT
public:
    // Everything given outlives the controls.
    MediaControls(WindowInstance<PlayerWindow>& player, WindowInstance<PlaylistWindow>& playlist,
                  const SharedState& state, AfterModalWindows& afterModal,
                  ExternalFileOpener& opener);

    // Offers the controls on the session bus; false without one.
    bool start();
    const MediaPlayerService& service() const { return service_; }

private:
    void play() override;
    void pause() override;
    void stop() override;
    void next() override;
    void previous() override;
    void raise() override;
    void quit() override;
    void openFile(const QString& fileName) override;

    // Runs `command` on the player window, once no dialog or message is
    // open; nothing once the player has closed.
    void onPlayer(const std::function<void(PlayerWindow&)>& command);
    void watchPlayer();
    void watchPlaylist();
    // Tells the service what the windows show now, once it is on the bus.
    void playerChanged();
    void playlistChanged();

    // Runs `command` once no dialog or message is open, as the user's own
    // clicks would wait.
    void whenFree(std::function<void()> command);

    WindowInstance<PlayerWindow>& player_;
    WindowInstance<PlaylistWindow>& playlist_;
    const SharedState& state_;
    AfterModalWindows& afterModal_;
    ExternalFileOpener& opener_;
    MediaPlayerService service_;
};
