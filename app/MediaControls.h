#pragma once

#include "system/MediaPlayerService.h"

#include <QObject>
#include <QString>

#include <functional>

class PlayerWindow;
class Windows;

// The desktop's media controls and media keys on Pelora's windows: they
// press the player's buttons and choose the next or previous list entry as
// the user would, at once; they open a file, raise the windows or quit once
// no dialog or message is open; and they are told what the player plays.
// Without a session bus there are none, and Pelora runs as it would without
// them.
class MediaControls : public QObject, private MediaPlayerService::Commands {
    Q_OBJECT
public:
    // The windows outlive the controls.
    explicit MediaControls(Windows& windows);

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
    void seek(std::chrono::microseconds position) override;
    void setLoop(MediaPlayerService::Loop loop) override;
    void setVolume(double volume) override;

    // Runs `command` on the player window at once; nothing once the player
    // has closed.
    void onPlayer(const std::function<void(PlayerWindow&)>& command);
    void watchPlayer();
    void watchPlaylist();
    // Tells the service what the windows show now, once it is on the bus.
    void playerChanged();
    void playlistChanged();

    Windows& windows_;
    MediaPlayerService service_;
};
