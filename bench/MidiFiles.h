#pragma once

#include "support/MidiFileBuilder.h"

#include <QString>

// A MIDI file of the benchmark, made by `make` the first time it is asked
// for, in a folder that lasts the run; a name always stands for the same file.
QString benchMidiFile(const char* name, Bytes (*make)());
