#pragma once

#include "system/IncomingFiles.h"

#include <QStringList>

class Windows;

// Opens files given from outside the windows, named on the command line or
// handed over by a later start, the way the windows' own commands would:
// list files load into the playlist as the list load button loads them (in their order, so
// the last one named stays), then the MIDI files: one plays as if chosen in
// the player's load dialog; several are added to the playlist, each at its
// sorted place, and the first named plays. Names that cannot be read are
// told in one message, after the rest is done. More files than the list
// can hold are refused, all of them, with one message.
namespace ExternalFileOpener {

// The files named, looked up on the disk, which for many of them takes a
// while: it may run on any thread. Refused, all of them, when there are
// more than the list can hold (`tooMany` says how many there were).
struct Checked {
    IncomingFiles files;
    qsizetype tooMany = 0;
};
// `count`: how many were named, where `absolutePaths` holds only the first.
Checked check(const QStringList& absolutePaths, qsizetype count = 0);

void open(Windows& windows, const Checked& checked);
// check() and open() in one.
void open(Windows& windows, const QStringList& absolutePaths);

// What a later start does to the running Pelora: the player comes back from
// minimised, the playlist is shown again as a click on the mascot shows it,
// and both come to the front with the player active.
void bringToFront(Windows& windows);

} // namespace ExternalFileOpener
