#pragma once

#include <QString>
#include <cstdint>

// The state that the windows share, alive for the whole run. Only the
// handlers named in the comments read or write it.
namespace Module1 {

// Path of the current MIDI file, exactly as the open dialog or a list entry gave it.
inline QString strMidiFile;
// Animation frame interval in milliseconds.
inline int16_t intSpeed = 0;
// Animation switch: only 1 counts as on.
inline uint8_t bytAnime = 0;

// Back to the values the program begins with (used between tests).
void reset();

} // namespace Module1
