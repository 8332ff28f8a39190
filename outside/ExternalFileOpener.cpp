#include "outside/ExternalFileOpener.h"

#include "core/AfterModalWindows.h"
#include "core/UserMessages.h"
#include "playlist/SortedList.h"
#include "texts/Texts.h"

#include <QPointer>

#include <algorithm>
#include <cstdio>
#include <memory>

ExternalFileOpener::ExternalFileOpener(WindowInstance<PlayerWindow>& player,
                                       WindowInstance<PlaylistWindow>& playlist,
                                       AfterModalWindows& afterModal, UserMessages& messages)
    : player_(player), playlist_(playlist), afterModal_(afterModal), messages_(messages) {
    // One look-up after another, so that files come in the order they arrived.
    lookUps_.setMaxThreadCount(1);
    player_.watchEach(this, [this](PlayerWindow& window) {
        connect(&window, &PlayerWindow::filesDropped, this,
                [this](const QList<QUrl>& urls) { open(urls, WayIn::PlayerDrop); });
    });
    playlist_.watchEach(this, [this](PlaylistWindow& window) {
        connect(&window, &PlaylistWindow::filesDropped, this,
                [this](const QList<QUrl>& urls) { open(urls, WayIn::PlaylistDrop); });
    });
}

ExternalFileOpener::~ExternalFileOpener() {
    lookUps_.waitForDone();
}

void ExternalFileOpener::open(const QStringList& absolutePaths, WayIn way, qsizetype count) {
    lookUp(
        [absolutePaths, count] {
            // More than the list can hold is no playlist anyone meant to make.
            const qsizetype named = std::max(count, absolutePaths.size());
            if (named > SortedList::MaxEntries)
                return Found{{}, named};
            return Found{IncomingFiles::fromPaths(absolutePaths), 0};
        },
        way);
}

void ExternalFileOpener::open(const QList<QUrl>& dropped, WayIn way) {
    lookUp([dropped] { return Found{IncomingFiles::fromDrag(dropped), 0}; }, way);
}

void ExternalFileOpener::lookUp(std::function<Found()> lookUp, WayIn way) {
    lookUps_.start([this, lookUp = std::move(lookUp), way] {
        auto found = std::make_shared<const Found>(lookUp());
        QMetaObject::invokeMethod(
            this,
            [this, found, way] {
                afterModal_.run([opener = QPointer<ExternalFileOpener>(this), found, way] {
                    if (opener)
                        opener->openFound(*found, way);
                });
            },
            Qt::QueuedConnection);
    });
}

void ExternalFileOpener::openFound(const Found& found, WayIn way) {
    // Once the player has closed, the program is ending.
    if (!player_.isLoaded())
        return;
    if (way == WayIn::LaterStart || way == WayIn::MediaControls)
        bringToFront();
    if (found.tooMany > 0) {
        std::fprintf(stderr, "pelora: %lld files at once, more than the %d a list holds\n",
                     static_cast<long long>(found.tooMany), SortedList::MaxEntries);
        messages_.show(Texts::tooManyFiles(found.tooMany, SortedList::MaxEntries));
        return;
    }
    const IncomingFiles files =
        way == WayIn::PlayerDrop ? found.files.withoutListFiles() : found.files;
    for (const QString& listFile : files.listFiles)
        playlist_->loadListFile(listFile);
    if (way == WayIn::PlaylistDrop) {
        playlist_->addFiles(files.midiFiles);
    } else if (!files.midiFiles.isEmpty()) {
        if (files.midiFiles.size() > 1 && way != WayIn::PlayerDrop)
            playlist_->addFiles(files.midiFiles);
        player_->playFile(files.midiFiles.first());
    }
    if (files.unreadable.empty())
        return;
    for (const IncomingFiles::Unreadable& file : files.unreadable)
        std::fprintf(stderr, "pelora: %s: %s\n", qPrintable(file.path), file.why.what());
    messages_.show(Texts::unopenedFiles(files.unreadable));
}

void ExternalFileOpener::bringToFront() {
    player_.show();
    player_->showPlaylist();
    playlist_->raise();
    player_->raise();
    player_->activateWindow();
}
