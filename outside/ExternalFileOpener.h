#pragma once

#include "core/WindowInstance.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "system/IncomingFiles.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <QUrl>

class AfterModalWindows;
class UserMessages;

// Files that reach Pelora from outside its windows' own dialogs, by any of
// the ways in: named on the command line, handed over by a later start,
// given by the desktop's media controls, or dropped on a window. Each is
// opened by the same rule, the way the windows' own commands would open it:
//
// - The files are looked up on the disk off the window's thread, one batch
//   after another, since many of them take a while.
// - Then they wait until no dialog or message is open, so that nothing
//   changes under it, and come in the order they arrived.
// - List files load into the playlist as its load button loads one (in their
//   order, so the last one named stays), then the MIDI files: one plays as
//   if chosen in the player's load dialog; several are added to the
//   playlist, each at its sorted place, and the first named plays. A drop
//   on the player only plays its first MIDI file; a drop on the playlist
//   loads and adds, and plays nothing.
// - Names that cannot be read are told in one message, after the rest is
//   done. More files at once than the list can hold are refused, all of
//   them, with one message.
class ExternalFileOpener : public QObject {
public:
    enum class WayIn {
        CommandLine,
        LaterStart,    // brings the windows to the front
        MediaControls, // brings the windows to the front
        PlayerDrop,
        PlaylistDrop,
    };

    // Everything given outlives the opener. It takes the drops of both
    // windows, each window anew as it is loaded.
    ExternalFileOpener(WindowInstance<PlayerWindow>& player,
                       WindowInstance<PlaylistWindow>& playlist, AfterModalWindows& afterModal,
                       UserMessages& messages);
    // Waits for a look-up under way.
    ~ExternalFileOpener() override;

    // Absolute paths; `count`: how many were named, where `absolutePaths`
    // holds only the first of them.
    void open(const QStringList& absolutePaths, WayIn way, qsizetype count = 0);
    // What a drag brought.
    void open(const QList<QUrl>& dropped, WayIn way);

    // What a later start does to the running Pelora: the player comes back
    // from minimised, the playlist is shown again as a click on the mascot
    // shows it, and both come to the front with the player active.
    void bringToFront();

private:
    // The files looked up; refused, all of them, when there were more than
    // the list can hold (`tooMany` says how many there were).
    struct Found {
        IncomingFiles files;
        qsizetype tooMany = 0;
    };
    void lookUp(std::function<Found()> lookUp, WayIn way);
    void openFound(const Found& found, WayIn way);

    WindowInstance<PlayerWindow>& player_;
    WindowInstance<PlaylistWindow>& playlist_;
    AfterModalWindows& afterModal_;
    UserMessages& messages_;
    // Last: destroyed first, it waits for its look-up.
    QThreadPool lookUps_;
};
