#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "system/WholeFile.h"

#include <vector>

// Files handed to Pelora from outside its file dialogs: named on the command
// line, handed over by a second start, or dropped on a window. List files are
// for the playlist's load steps, MIDI files for the player or the playlist.
//
// Qt holds a file's name as text, decoded from the system's character set
// (UTF-8). A name whose bytes are not valid there (one written in Shift_JIS
// or Latin-1 on another system and carried here in an archive) comes out
// with U+FFFD in place of those bytes, and Qt can then neither open the file
// nor list it: such a name goes to `unreadable` with the reason EILSEQ, so
// that the user learns to rename it rather than that it is missing.
class IncomingFiles {
public:
    // A name ending in ".lst" is a list file; any other name is a MIDI file,
    // for the sequencer to judge as it judges a file chosen under
    // every file in the open dialog. A name that does not exist or cannot
    // be read goes to `unreadable` instead, with the reason.
    static IncomingFiles fromPaths(const QStringList& absolutePaths);
    // The first of them that is to be a MIDI file by its name; empty if none.
    static QString firstMidiFileName(const QStringList& paths);

    // Only the local files a drag carries that are MIDI files (by their name
    // or, where the name says nothing, their first bytes) or list files, in
    // their order; folders, other files and web links are left out. Such a
    // file whose name Qt cannot hold goes to `unreadable`.
    static IncomingFiles fromDrag(const QList<QUrl>& urls);

    // What the player takes of them: it plays MIDI files, and loads no list.
    IncomingFiles withoutListFiles() const {
        IncomingFiles files = *this;
        files.listFiles.clear();
        return files;
    }
    // Nothing to open and nothing to tell.
    bool isEmpty() const {
        return listFiles.isEmpty() && midiFiles.isEmpty() && unreadable.empty();
    }

    QStringList listFiles;
    QStringList midiFiles;
    struct Unreadable {
        QString path;
        WholeFileError why;
    };
    std::vector<Unreadable> unreadable;
};
