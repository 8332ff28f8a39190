#include "outside/MediaControls.h"

#include "core/AfterModalWindows.h"
#include "core/ErrorModel.h"
#include "core/UserSettings.h"
#include "outside/ExternalFileOpener.h"
#include "outside/TrackTitle.h"

#include <QCoreApplication>
#include <QLocale>

#include <cmath>

namespace {

const QString volumeKey = QStringLiteral("sound/volume");

MediaPlayerService::Status statusOf(SoundState::Status status) {
    switch (status) {
    case SoundState::Status::Playing:
        return MediaPlayerService::Status::Playing;
    case SoundState::Status::Paused:
        return MediaPlayerService::Status::Paused;
    case SoundState::Status::Stopped:
    case SoundState::Status::Ended:
        break;
    }
    return MediaPlayerService::Status::Stopped;
}

// The volume of the last run; full where none was kept.
double keptVolume(const UserSettings& settings) {
    bool isNumber = false;
    const double volume = settings.value(volumeKey).toDouble(&isNumber);
    return isNumber && std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : 1.0;
}

} // namespace

MediaControls::MediaControls(WindowInstance<PlayerWindow>& player,
                             WindowInstance<PlaylistWindow>& playlist, const SharedState& state,
                             Sequencer& sequencer, AfterModalWindows& afterModal,
                             ExternalFileOpener& opener, UserSettings& settings)
    : player_(player), playlist_(playlist), state_(state), sequencer_(sequencer),
      afterModal_(afterModal), opener_(opener), settings_(settings),
      service_(*this, QDBusConnection::sessionBus()) {
    const double volume = keptVolume(settings_);
    sequencer_.setVolume(volume);
    service_.setVolume(volume);
    service_.setPositionSource([this] { return sequencer_.state().position; });
    connect(&sequencer_, &Sequencer::stateChanged, this, &MediaControls::soundChanged);
    connect(&sequencer_, &Sequencer::seeked, this,
            [this](std::chrono::microseconds position) { service_.announceSeek(position); });
    player_.watchEach(this, [this](PlayerWindow& window) {
        connect(&window, &PlayerWindow::playbackChanged, this, &MediaControls::trackChanged);
        trackChanged();
    });
    playlist_.watchEach(this, [this](PlaylistWindow& window) {
        connect(&window, &PlaylistWindow::listChanged, this, &MediaControls::playlistChanged);
        playlistChanged();
    });
    connect(&playlist_, &WindowHandle::unloaded, this, &MediaControls::playlistChanged);
}

bool MediaControls::start() {
    if (!service_.registerOnBus())
        return false;
    trackChanged();
    showSound(sequencer_.state());
    return true;
}

// The track is the player's current file, which its play button plays,
// also once the engine has let it go. Nothing is looked up before the
// service is on the bus: a file named on the command line plays before the
// first paint, and the bus comes after.
void MediaControls::trackChanged() {
    if (!service_.isRegistered())
        return;
    if (state_.currentFile != service_.fileName()) {
        service_.setTrack(state_.currentFile, TrackTitle::of(state_.currentFile));
        showSound(sequencer_.state());
    }
    playlistChanged();
}

// As the engine reports it: the end of the current song goes on to the
// list's next entry where the list plays round.
void MediaControls::soundChanged(const SoundState& sound) {
    if (sound.status == SoundState::Status::Ended && wrapsAround() &&
        sound.fileName == state_.currentFile)
        atOnce([this] {
            if (playlist_.isLoaded() && player_.isLoaded())
                playlist_->playNext(true);
        });
    showSound(sound);
}

void MediaControls::showSound(const SoundState& sound) {
    if (!service_.isRegistered())
        return;
    service_.setStatus(statusOf(sound.status));
    // The length is the current file's once the engine has opened it.
    const bool current = !sound.fileName.isEmpty() && sound.fileName == state_.currentFile;
    service_.setLength(current ? sound.length : std::chrono::microseconds(0));
}

void MediaControls::playlistChanged() {
    if (!service_.isRegistered())
        return;
    if (playlist_.isLoaded())
        service_.setNeighbours(playlist_->hasNext(wrapsAround()),
                               playlist_->hasPrevious(wrapsAround()));
    else
        service_.setNeighbours(false, false);
}

void MediaControls::play() {
    onPlayer([](PlayerWindow& player) { player.resumeOrPlay(); });
}

void MediaControls::pause() {
    onPlayer([](PlayerWindow& player) { player.pause(); });
}

// Decided by what the player was last told, not by what the engine said
// last: in a burst of presses each one undoes the one before.
void MediaControls::playPause() {
    onPlayer([this](PlayerWindow& player) {
        if (state_.playback == Playback::Playing)
            player.pause();
        else
            player.resumeOrPlay();
    });
}

void MediaControls::stop() {
    onPlayer([](PlayerWindow& player) { player.stop(); });
}

void MediaControls::next() {
    atOnce([this] {
        if (playlist_.isLoaded())
            playlist_->playNext(wrapsAround());
    });
}

void MediaControls::previous() {
    atOnce([this] {
        if (playlist_.isLoaded())
            playlist_->playPrevious(wrapsAround());
    });
}

void MediaControls::raise() {
    whenFree([this] {
        if (player_.isLoaded())
            opener_.bringToFront();
    });
}

void MediaControls::quit() {
    whenFree([this] {
        if (player_.isLoaded())
            player_.load().close();
    });
}

void MediaControls::openFile(const QString& fileName) {
    opener_.open(QStringList{fileName}, ExternalFileOpener::WayIn::MediaControls);
}

void MediaControls::seek(std::chrono::microseconds position) {
    sequencer_.seek(position);
}

void MediaControls::setLoop(MediaPlayerService::Loop loop) {
    sequencer_.setLooping(loop == MediaPlayerService::Loop::Track);
    playlistChanged();
}

void MediaControls::setVolume(double volume) {
    sequencer_.setVolume(volume);
    settings_.setValue(volumeKey, QString::number(volume, 'g', QLocale::FloatingPointShortest));
}

void MediaControls::atOnce(std::function<void()> command) {
    QMetaObject::invokeMethod(
        this, [command = std::move(command)] { ErrorModel::event(command); }, Qt::QueuedConnection);
}

void MediaControls::onPlayer(const std::function<void(PlayerWindow&)>& command) {
    atOnce([this, command] {
        if (player_.isLoaded())
            command(player_.load());
    });
}

void MediaControls::whenFree(std::function<void()> command) {
    afterModal_.run(std::move(command));
}
