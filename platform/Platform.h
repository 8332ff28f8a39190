#pragma once

#include "platform/FileDialog.h"
#include "platform/SequencerDevice.h"

#include <QString>
#include <functional>
#include <memory>

// What the windows get from the system: the sequencer on FluidSynth and
// QFileDialog, unless tests put doubles in.
struct Platform {
    std::function<std::unique_ptr<SequencerDevice>()> makeSequencer;
    std::function<std::unique_ptr<FileDialog>(const QString& filter)> makeFileDialog;
};

Platform& platform();
