#include "app/MediaControls.h"

#include "app/ExternalFileOpener.h"
#include "app/TrackTitle.h"
#include "app/Windows.h"
#include "core/AfterModalWindows.h"
#include "core/ErrorModel.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

MediaPlayerService::Status statusOf(Playback playback) {
    switch (playback) {
    case Playback::Playing:
        return MediaPlayerService::Status::Playing;
    case Playback::Paused:
        return MediaPlayerService::Status::Paused;
    case Playback::Stopped:
        break;
    }
    return MediaPlayerService::Status::Stopped;
}

// Runs `command` on the windows once no dialog or message is open, as the
// user's own clicks would wait.
template <class Command> void whenFree(Windows& windows, Command command) {
    AfterModalWindows::run([&windows, command] { command(windows); });
}

// Runs `command` on the windows from the event loop once the desktop's call
// is answered, also while a dialog or message is open: the transport
// changes nothing the user is making there, and the lock screen can
// silence the music while a message waits.
template <class Command> void atOnce(Windows& windows, Command command) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&windows, command] { ErrorModel::event([&windows, &command] { command(windows); }); },
        Qt::QueuedConnection);
}

} // namespace

MediaControls::MediaControls(Windows& windows)
    : windows_(windows), service_(*this, QDBusConnection::sessionBus()) {
    connect(&windows_.player(), &WindowHandle::loaded, this, &MediaControls::watchPlayer);
    connect(&windows_.playlist(), &WindowHandle::loaded, this, &MediaControls::watchPlaylist);
    connect(&windows_.playlist(), &WindowHandle::unloaded, this, &MediaControls::playlistChanged);
    if (windows_.player().isLoaded())
        watchPlayer();
    if (windows_.playlist().isLoaded())
        watchPlaylist();
}

bool MediaControls::start() {
    if (!service_.registerOnBus())
        return false;
    playerChanged();
    return true;
}

void MediaControls::watchPlayer() {
    connect(&windows_.player().load(), &PlayerWindow::playbackChanged, this,
            &MediaControls::playerChanged);
    playerChanged();
}

void MediaControls::watchPlaylist() {
    connect(&windows_.playlist().load(), &PlaylistWindow::listChanged, this,
            &MediaControls::playlistChanged);
    playlistChanged();
}

// Nothing is looked up before the service is on the bus: a file named on
// the command line plays before the first paint, and the bus comes after.
void MediaControls::playerChanged() {
    if (!service_.isRegistered())
        return;
    const SharedState& state = windows_.sharedState();
    service_.setStatus(statusOf(state.playback));
    if (state.currentFile != service_.fileName())
        service_.setTrack(state.currentFile, TrackTitle::of(state.currentFile));
    playlistChanged();
}

void MediaControls::playlistChanged() {
    if (!service_.isRegistered())
        return;
    auto& playlist = windows_.playlist();
    if (playlist.isLoaded())
        service_.setNeighbours(playlist->hasNext(), playlist->hasPrevious());
    else
        service_.setNeighbours(false, false);
}

void MediaControls::play() {
    onPlayer([](PlayerWindow& player) { player.play(); });
}

void MediaControls::pause() {
    onPlayer([](PlayerWindow& player) { player.pause(); });
}

void MediaControls::stop() {
    onPlayer([](PlayerWindow& player) { player.stop(); });
}

void MediaControls::next() {
    atOnce(windows_, [](Windows& windows) {
        if (windows.playlist().isLoaded())
            windows.playlist()->playNext();
    });
}

void MediaControls::previous() {
    atOnce(windows_, [](Windows& windows) {
        if (windows.playlist().isLoaded())
            windows.playlist()->playPrevious();
    });
}

void MediaControls::raise() {
    whenFree(windows_, [](Windows& windows) {
        if (windows.player().isLoaded())
            ExternalFileOpener::bringToFront(windows);
    });
}

void MediaControls::quit() {
    whenFree(windows_, [](Windows& windows) {
        if (windows.player().isLoaded())
            windows.player().load().close();
    });
}

// The engine takes a position, a loop and a volume once it offers them;
// until then no song has a length to seek in, and these change nothing.
void MediaControls::seek(std::chrono::microseconds) {}
void MediaControls::setLoop(MediaPlayerService::Loop) {}
void MediaControls::setVolume(double) {}

void MediaControls::onPlayer(const std::function<void(PlayerWindow&)>& command) {
    atOnce(windows_, [command](Windows& windows) {
        if (windows.player().isLoaded())
            command(windows.player().load());
    });
}

void MediaControls::openFile(const QString& fileName) {
    const QString absolute = QFileInfo(fileName).absoluteFilePath();
    whenFree(windows_, [absolute](Windows& windows) {
        if (!windows.player().isLoaded())
            return;
        ExternalFileOpener::bringToFront(windows);
        ExternalFileOpener::open(windows, QStringList{absolute});
    });
}
