#pragma once

#include "app/Windows.h"
#include "core/AfterModalWindows.h"
#include "core/FocusRestorer.h"
#include "core/UserMessages.h"
#include "core/UserSettings.h"
#include "outside/ExternalFileOpener.h"
#include "outside/MediaControls.h"

#include <QStringList>

class SingleInstance;
class SoundEngine;
class TerminationSignals;

// Pelora once it is the running one: its windows and what reaches them
// from outside (files, a later start, the media controls), with the
// messages, the wait for modal windows and the focus's return they share.
class Program {
public:
    // The engine, the instance and the signals outlive the program. A
    // signal asking Pelora to end ends it as closing the player window does.
    Program(SoundEngine& engine, SingleInstance& instance, TerminationSignals& endRequests);

    // Shows the windows, opens the files named on the command line and runs
    // the event loop; returns the exit status.
    int run(const QStringList& files);

private:
    // Closes the open dialog, message or About window, and each one that
    // opens after it, then the player window.
    void closeEverything();

    SoundEngine& engine_;
    SingleInstance& instance_;
    FocusRestorer::Memory focus_;
    UserSettings settings_;
    UserMessages messages_;
    AfterModalWindows afterModal_;
    Windows windows_;
    ExternalFileOpener opener_;
    MediaControls mediaControls_;
};
