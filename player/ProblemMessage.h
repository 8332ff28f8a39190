#pragma once

#include "platform/SequencerDevice.h"

#include <QString>

// What the user reads when the music they asked for cannot sound.
QString problemMessage(const SequencerProblem& problem);
