#pragma once

#include <QString>

#include <functional>

// A failure that the sequencer's quiet would hide behind what looks like
// success: the music the user asked for cannot sound.
struct SequencerProblem {
    enum class Kind {
        NoAudioOutput,           // once per run, the first time music should start
        NoSoundFont,             // once per run, likewise
        ChosenSoundFontUnusable, // the SoundFont the user named; the usual search goes on
        UnplayableFile,          // each time a file cannot be read or played
    };
    Kind kind;
    // The file (UnplayableFile) or the SoundFont (ChosenSoundFontUnusable).
    QString fileName;
    // Why, in Japanese for the user: what was tried, or what is wrong with the file.
    QString reason;
};

// The MIDI sequencer that the player window drives; nothing is read back.
// For every play the player calls stop(), close(), open(file), play(); pause()
// at any time; close() when the player window closes.
//
// An operation that cannot be carried out (nothing opened, a missing or
// unplayable file, no SoundFont, no audio output) fails quietly: it changes
// nothing, throws nothing, writes at most one line on standard error, and the
// device plays a good file afterwards. Where the quiet would hide a failure
// behind what looks like success, the problem listener hears of it.
class SequencerDevice {
public:
    virtual ~SequencerDevice() = default;

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

    using ProblemListener = std::function<void(const SequencerProblem& problem)>;
    // Called on the thread that set it, after the operation that met the
    // problem has returned. A device that never meets one may ignore it.
    virtual void setProblemListener(ProblemListener listener) { static_cast<void>(listener); }
};
