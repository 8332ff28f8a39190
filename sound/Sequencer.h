#pragma once

#include "sound/SoundProblem.h"
#include "sound/SoundState.h"

#include <QObject>
#include <QString>

#include <chrono>

// The MIDI sequencer that the player window drives. For every play the
// player calls stop(), open(file), play(); pause() at any time; stop() when
// the player window closes. Every command returns at once: what it asks for
// is carried out on the sequencer's own thread, and commands superseded by
// later ones before that may cost nothing (a play, pause, stop and play
// given together end playing, as the last one asks).
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

    // A file is about to be chosen: the sequencer may get ready for it now
    // (its synthesizer, say), so that the play after is quick. Returns at
    // once; nothing sounds.
    virtual void prepare() {}
    // Closes the song open, if any, and opens `fileName` for play(); empty:
    // only closes.
    virtual void open(const QString& fileName) = 0;
    // A paused song from where it was; any other from its beginning.
    virtual void play() = 0;
    // Halts the music and silences what sounds, keeping its place.
    virtual void pause() = 0;
    // Halts the music and releases the file and the audio output.
    virtual void stop() = 0;
    // To `position` (clamped to the song), as if the song had played from
    // its start to there; a paused song stays paused. Only while a song
    // plays or is paused.
    virtual void seek(std::chrono::microseconds position) = 0;
    // At its end the song starts again from its beginning (true), or ends.
    virtual void setLooping(bool track) = 0;
    // 0.0 to 1.0, the linear amplitude: 0.5 halves the level.
    virtual void setVolume(double volume) = 0;
    // What sounds now, the position read live; never waits.
    virtual SoundState state() const = 0;

signals:
    void problem(const SoundProblem& problem);
    // The status, the file or the length changed, as it happened in the
    // synthesizer.
    void stateChanged(const SoundState& state);
    // A seek took effect, or the song started again from its beginning.
    void seeked(std::chrono::microseconds position);
};
