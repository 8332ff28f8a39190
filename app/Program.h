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

// Pelora once it is the running one: its windows and what reaches them
// from outside (files, a later start, the media controls), with the
// messages, the wait for modal windows and the focus's return they share.
class Program {
public:
    // The engine and the instance outlive the program.
    Program(SoundEngine& engine, SingleInstance& instance);

    // Shows the windows, opens the files named on the command line and runs
    // the event loop; returns the exit status.
    int run(const QStringList& files);

private:
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
