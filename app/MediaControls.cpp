#include "app/MediaControls.h"

#include "app/ExternalFileOpener.h"
#include "app/Windows.h"
#include "core/AfterModalWindows.h"
#include "midifile/SongTitle.h"
#include "system/Iconv.h"
#include "system/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <optional>
#include <stdexcept>

namespace {

// The song's name in its file: UTF-8 where it is valid UTF-8, else code page
// 932, in which most Japanese MIDI files were written; empty when the file
// names none or cannot be read.
QString songTitle(const QString& fileName) {
    std::string start;
    try {
        start =
            WholeFile::readStart(QFile::encodeName(fileName).toStdString(), SongTitle::bytesNeeded);
    } catch (const WholeFileError&) {
        return {};
    }
    const std::string name =
        SongTitle::of({reinterpret_cast<const std::uint8_t*>(start.data()), start.size()});
    if (name.empty())
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString title = utf8(QByteArray::fromStdString(name));
    if (!utf8.hasError())
        return title;
    try {
        Iconv fromCp932("UTF-8", "CP932");
        if (const std::optional<std::string> converted = fromCp932.convert(name))
            return QString::fromStdString(*converted);
    } catch (const std::invalid_argument&) {
    }
    return QString::fromLatin1(name);
}

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

} // namespace

MediaControls::MediaControls(Windows& windows) : windows_(windows), service_(*this) {
    connect(&windows_.player(), &WindowHandle::loaded, this, &MediaControls::watchPlayer);
    connect(&windows_.playlist(), &WindowHandle::loaded, this, &MediaControls::watchPlaylist);
    connect(&windows_.playlist(), &WindowHandle::unloaded, this, &MediaControls::playlistChanged);
    if (windows_.player().isLoaded())
        watchPlayer();
    if (windows_.playlist().isLoaded())
        watchPlaylist();
}

bool MediaControls::start() {
    if (!service_.registerOnSessionBus())
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
        service_.setTrack(state.currentFile, songTitle(state.currentFile));
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
    whenFree(windows_, [](Windows& windows) {
        if (windows.playlist().isLoaded())
            windows.playlist()->playNext();
    });
}

void MediaControls::previous() {
    whenFree(windows_, [](Windows& windows) {
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
    onPlayer([](PlayerWindow& player) { player.close(); });
}

void MediaControls::onPlayer(const std::function<void(PlayerWindow&)>& command) {
    whenFree(windows_, [command](Windows& windows) {
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
