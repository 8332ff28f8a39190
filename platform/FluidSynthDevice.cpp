#include "platform/FluidSynthDevice.h"

#include <algorithm>

struct FluidSynthDevice::Impl {};

FluidSynthDevice::FluidSynthDevice(Output) : impl_(std::make_unique<Impl>()) {}
FluidSynthDevice::~FluidSynthDevice() = default;

void FluidSynthDevice::setNotify(bool) {}
void FluidSynthDevice::setWait(bool) {}
void FluidSynthDevice::setShareable(bool) {}
void FluidSynthDevice::setDeviceType(const QString&) {}
void FluidSynthDevice::setFileName(const QString&) {}
void FluidSynthDevice::setCommand(const QString&) {}

void FluidSynthDevice::render(float* left, float* right, int frames) {
    std::fill(left, left + frames, 0.0f);
    std::fill(right, right + frames, 0.0f);
}
