#include "app/ExternalFileOpener.h"

#include "app/Windows.h"
#include "core/UserMessage.h"
#include "platform/IncomingFiles.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"

#include <cstdio>

namespace ExternalFileOpener {

void open(const QStringList& absolutePaths) {
    const IncomingFiles files = IncomingFiles::fromPaths(absolutePaths);
    for (const QString& listFile : files.listFiles)
        windows::playlist()->loadListFile(listFile);
    if (files.midiFiles.size() > 1)
        windows::playlist()->addFiles(files.midiFiles);
    if (!files.midiFiles.isEmpty())
        windows::player()->playFile(files.midiFiles.first());
    if (files.unreadable.isEmpty())
        return;
    for (const QString& problem : files.unreadable)
        std::fprintf(stderr, "pelora: %s\n", qPrintable(problem));
    UserMessage::show(QStringLiteral("次のファイルを開けませんでした。\n\n") +
                      files.unreadable.join(QLatin1Char('\n')));
}

void bringToFront() {
    windows::player().show();
    windows::player()->showPlaylist();
    windows::playlist()->raise();
    windows::player()->raise();
    windows::player()->activateWindow();
}

} // namespace ExternalFileOpener
