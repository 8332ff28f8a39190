#include "app/ExternalFileOpener.h"

#include "app/Windows.h"
#include "core/UserMessage.h"
#include "system/IncomingFiles.h"
#include "texts/Texts.h"

#include <cstdio>

namespace ExternalFileOpener {

void open(Windows& windows, const QStringList& absolutePaths) {
    const IncomingFiles files = IncomingFiles::fromPaths(absolutePaths);
    for (const QString& listFile : files.listFiles)
        windows.playlist()->loadListFile(listFile);
    if (files.midiFiles.size() > 1)
        windows.playlist()->addFiles(files.midiFiles);
    if (!files.midiFiles.isEmpty())
        windows.player()->playFile(files.midiFiles.first());
    if (files.unreadable.empty())
        return;
    QStringList problems;
    for (const IncomingFiles::Unreadable& file : files.unreadable) {
        problems << Texts::nameAndReason(file.path, Texts::fileError(file.why, 0));
        std::fprintf(stderr, "pelora: %s\n", qPrintable(problems.last()));
    }
    UserMessage::show(Texts::unopenedFiles(problems));
}

void bringToFront(Windows& windows) {
    windows.player().show();
    windows.player()->showPlaylist();
    windows.playlist()->raise();
    windows.player()->raise();
    windows.player()->activateWindow();
}

} // namespace ExternalFileOpener
