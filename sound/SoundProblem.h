#pragma once

#include "midifile/PlayableMidiFile.h"
#include "system/WholeFile.h"

#include <QMetaType>
#include <QString>

#include <optional>

// A failure that the sound's quiet would hide behind what looks like
// success: the music the user asked for cannot sound.
struct SoundProblem {
    enum class Kind {
        NoAudioOutput,           // once per run, the first time music should start
        NoSoundFont,             // once per run, likewise
        NoSynthesizer,           // once per run: the synthesizer's module does not load
        ChosenSoundFontUnusable, // the SoundFont the user named; the usual search goes on
        UnplayableFile,          // each time a file cannot be read or played
    };
    Kind kind = Kind::UnplayableFile;
    // The file (UnplayableFile) or the SoundFont (ChosenSoundFontUnusable).
    QString fileName;
    // What was tried: the audio drivers (NoAudioOutput), the folders
    // searched for a SoundFont (NoSoundFont); why the module does not load
    // (NoSynthesizer).
    QString tried;
    // Why the file or the chosen SoundFont cannot be used: it could not be
    // read, or, read, its bytes are refused (a file), or FluidSynth does not
    // take it (a SoundFont: neither of the two is set).
    std::optional<WholeFileError> readError;
    std::optional<PlayableMidiFile::Refusal> refusal;

    static SoundProblem of(Kind kind, QString fileName, QString tried = {}) {
        SoundProblem problem;
        problem.kind = kind;
        problem.fileName = std::move(fileName);
        problem.tried = std::move(tried);
        return problem;
    }
};

Q_DECLARE_METATYPE(SoundProblem)
