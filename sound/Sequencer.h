#pragma once

#include "sound/SoundProblem.h"

#include <QObject>
#include <QString>

// The MIDI sequencer that the player window drives; nothing is read back.
// For every play the player calls stop(), close(), open(file), play();
// pause() at any time; close() when the player window closes.
//
// A command that cannot be carried out (nothing opened, a missing or
// unplayable file, no SoundFont, no audio output) fails quietly: it changes
// nothing, throws nothing, writes at most one line on standard error, and
// the sequencer plays a good file afterwards. Where the quiet would hide a
// failure behind what looks like success, problem() is emitted, on the
// sequencer's thread, after the command that met it has returned.
class Sequencer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The file for the next play(), and the audio output.
    virtual void open(const QString& fileName) = 0;
    // The opened file from its beginning; returns at once.
    virtual void play() = 0;
    // Halts the music and silences what sounds.
    virtual void pause() = 0;
    // The same as pause().
    virtual void stop() = 0;
    // Releases the file and the audio output; returns at once.
    virtual void close() = 0;

signals:
    void problem(const SoundProblem& problem);
};
