#include "platform/FluidSynthDevice.h"

#include "platform/FluidSynthEngine.h"

#include <algorithm>

FluidSynthDevice::FluidSynthDevice(Output output)
    : FluidSynthDevice(output, FluidSynthEngine::shared()) {}

FluidSynthDevice::FluidSynthDevice(Output output, std::shared_ptr<FluidSynthEngine> engine)
    : output_(output), engine_(std::move(engine)) {}

FluidSynthDevice::~FluidSynthDevice() {
    close();
}

void FluidSynthDevice::open(const QString& fileName) {
    if (!fileName.isEmpty()) // nothing chosen: nothing to say
        engine_->open(this, fileName, output_ == Output::Speakers);
}

void FluidSynthDevice::play() {
    engine_->play(this);
}

void FluidSynthDevice::pause() {
    engine_->halt(this);
}

void FluidSynthDevice::stop() {
    pause();
}

void FluidSynthDevice::close() {
    engine_->release(this);
}

void FluidSynthDevice::render(float* left, float* right, int frames) {
    if (left == nullptr || right == nullptr || frames <= 0)
        return;
    const bool rendered = output_ == Output::Offline && engine_->render(this, left, right, frames);
    if (!rendered) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
    }
}

bool FluidSynthDevice::isOpen() const {
    return engine_->owns(this);
}
