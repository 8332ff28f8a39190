#pragma once

#include "platform/SequencerDevice.h"
#include "platform/Synthesizer.h"

#include <functional>
#include <memory>

class FluidSynthEngine;

// The sequencer device on libfluidsynth.
//
// Every operation hands its work to the engine's command thread and returns
// at once (FluidSynthEngine), where it is carried out in the order given.
// There open() reads the file (a standard MIDI file of type 0 or 1, or a
// RIFF MIDI file), checks and repairs it, and hands FluidSynth clean bytes;
// a file that cannot be played fails there, quietly, and the file opened
// before stays open. With Output::Speakers it also starts the audio output,
// and fails when no audio driver starts. A file of more than
// MidiFileNormaliser::maxEvents events, or larger than
// PlayableMidiFile::maxFileSize, is refused.
//
// The devices of an engine take turns: open() takes the engine's one player
// over from whichever device held it, and from then on that device's play,
// pause, stop and close change nothing (FluidSynthEngine).
class FluidSynthDevice : public SequencerDevice {
public:
    enum class Output {
        Speakers, // through the first audio driver that starts
        Offline,  // no audio driver: samples are pulled with render()
    };

    explicit FluidSynthDevice(Output output = Output::Speakers);
    // On a given engine instead of the shared one (a test's engine without a
    // SoundFont or audio driver, say).
    FluidSynthDevice(Output output, std::shared_ptr<FluidSynthEngine> engine);
    ~FluidSynthDevice() override;
    FluidSynthDevice(const FluidSynthDevice&) = delete;
    FluidSynthDevice& operator=(const FluidSynthDevice&) = delete;

    void open(const QString& fileName) override;
    void play() override;
    void pause() override;
    void stop() override;
    void close() override;
    // The listener hears of problems on the thread of the application object
    // (the window's), after the operation that met them has returned.
    void setProblemListener(ProblemListener listener) override;

    // Offline only: once the operations before it are carried out, renders
    // `frames` stereo frames of the synthesizer into `left` and `right`
    // (each room for `frames` floats, full scale ±1.0) on the calling
    // thread, advancing the MIDI player by as much time (44100 frames a
    // second). Call it from the thread that calls the operations; between
    // them the music goes on exactly as far as it is rendered, so tests can
    // check sound, silence and restarts deterministically. Writes silence
    // when the device is not offline, the engine has no SoundFont, or
    // another device holds the engine's player.
    void render(float* left, float* right, int frames);

    static constexpr int sampleRate = Synthesizer::sampleRate;

    // Whether this device holds an open file (from a successful open() until
    // close(), or until another device opens one), once the operations
    // before it are carried out.
    bool isOpen() const;

private:
    std::function<void(const SequencerProblem&)> reporter() const;

    const Output output_;
    const std::shared_ptr<FluidSynthEngine> engine_;
    // Shared with the reports on their way, which drop it once the device is gone.
    std::shared_ptr<ProblemListener> listener_;
};
