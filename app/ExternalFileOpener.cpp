#include "app/ExternalFileOpener.h"

#include "app/Windows.h"
#include "core/UserMessage.h"
#include "playlist/SortedList.h"
#include "system/IncomingFiles.h"
#include "texts/Texts.h"

#include <algorithm>
#include <cstdio>

namespace ExternalFileOpener {

Checked check(const QStringList& absolutePaths, qsizetype count) {
    // More than the list can hold is no playlist anyone meant to make.
    count = std::max(count, absolutePaths.size());
    if (count > SortedList::MaxEntries)
        return {{}, count};
    return {IncomingFiles::fromPaths(absolutePaths), 0};
}

void open(Windows& windows, const QStringList& absolutePaths) {
    open(windows, check(absolutePaths));
}

void open(Windows& windows, const Checked& checked) {
    if (checked.tooMany > 0) {
        std::fprintf(stderr, "pelora: %lld files at once, more than the %d a list holds\n",
                     static_cast<long long>(checked.tooMany), SortedList::MaxEntries);
        UserMessage::show(Texts::tooManyFiles(checked.tooMany, SortedList::MaxEntries));
        return;
    }
    const IncomingFiles& files = checked.files;
    for (const QString& listFile : files.listFiles)
        windows.playlist()->loadListFile(listFile);
    if (files.midiFiles.size() > 1)
        windows.playlist()->addFiles(files.midiFiles);
    if (!files.midiFiles.isEmpty())
        windows.player()->playFile(files.midiFiles.first());
    if (files.unreadable.empty())
        return;
    for (const IncomingFiles::Unreadable& file : files.unreadable)
        std::fprintf(stderr, "pelora: %s: %s\n", qPrintable(file.path), file.why.what());
    UserMessage::show(Texts::unopenedFiles(files.unreadable));
}

void bringToFront(Windows& windows) {
    windows.player().show();
    windows.player()->showPlaylist();
    windows.playlist()->raise();
    windows.player()->raise();
    windows.player()->activateWindow();
}

} // namespace ExternalFileOpener
