#pragma once

#include "platform/SequencerDevice.h"

#include <memory>

// The sequencer device on libfluidsynth.
class FluidSynthDevice : public SequencerDevice {
public:
    enum class Output {
        Speakers, // through the first audio driver that starts
        Offline,  // no audio driver: samples are pulled with render()
    };

    explicit FluidSynthDevice(Output output = Output::Speakers);
    ~FluidSynthDevice() override;

    void setNotify(bool notify) override;
    void setWait(bool wait) override;
    void setShareable(bool shareable) override;
    void setDeviceType(const QString& deviceType) override;
    void setFileName(const QString& fileName) override;
    void setCommand(const QString& command) override;

    // Offline only: renders stereo frames, advancing the MIDI player with them.
    void render(float* left, float* right, int frames);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
