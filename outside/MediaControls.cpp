#include "outside/MediaControls.h"

#include "core/AfterModalWindows.h"
#include "midifile/SongTitle.h"
#include "outside/ExternalFileOpener.h"
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

} // namespace

MediaControls::MediaControls(WindowInstance<PlayerWindow>& player,
                             WindowInstance<PlaylistWindow>& playlist, const SharedState& state,
                             AfterModalWindows& afterModal, ExternalFileOpener& opener)
    : player_(player), playlist_(playlist), state_(state), afterModal_(afterModal), opener_(opener),
      service_(*this) {
    connect(&player_, &WindowHandle::loaded, this, &MediaControls::watchPlayer);
    connect(&playlist_, &WindowHandle::loaded, this, &MediaControls::watchPlaylist);
    connect(&playlist_, &WindowHandle::unloaded, this, &MediaControls::playlistChanged);
    if (player_.isLoaded())
        watchPlayer();
    if (playlist_.isLoaded())
        watchPlaylist();
}

bool MediaControls::start() {
    if (!service_.registerOnSessionBus())
        return false;
    playerChanged();
    return true;
}

void MediaControls::watchPlayer() {
    connect(&player_.load(), &PlayerWindow::playbackChanged, this, &MediaControls::playerChanged);
    playerChanged();
}

void MediaControls::watchPlaylist() {
    connect(&playlist_.load(), &PlaylistWindow::listChanged, this, &MediaControls::playlistChanged);
    playlistChanged();
}

// Nothing is looked up before the service is on the bus: a file named on
// the command line plays before the first paint, and the bus comes after.
void MediaControls::playerChanged() {
    if (!service_.isRegistered())
        return;
    service_.setStatus(statusOf(state_.playback));
    if (state_.currentFile != service_.fileName())
        service_.setTrack(state_.currentFile, songTitle(state_.currentFile));
    playlistChanged();
}

void MediaControls::playlistChanged() {
    if (!service_.isRegistered())
        return;
    if (playlist_.isLoaded())
        service_.setNeighbours(playlist_->hasNext(), playlist_->hasPrevious());
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
    whenFree([this] {
        if (playlist_.isLoaded())
            playlist_->playNext();
    });
}

void MediaControls::previous() {
    whenFree([this] {
        if (playlist_.isLoaded())
            playlist_->playPrevious();
    });
}

void MediaControls::raise() {
    whenFree([this] {
        if (player_.isLoaded())
            opener_.bringToFront();
    });
}

void MediaControls::quit() {
    onPlayer([](PlayerWindow& player) { player.close(); });
}

void MediaControls::onPlayer(const std::function<void(PlayerWindow&)>& command) {
    whenFree([this, command] {
        if (player_.isLoaded())
            command(player_.load());
    });
}

void MediaControls::whenFree(std::function<void()> command) {
    afterModal_.run(std::move(command));
}

void MediaControls::openFile(const QString& fileName) {
    opener_.open(QStringList{QFileInfo(fileName).absoluteFilePath()},
                 ExternalFileOpener::WayIn::MediaControls);
}
