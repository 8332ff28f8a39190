#include "platform/Platform.h"

#include "platform/FluidSynthDevice.h"
#include "platform/QtFileDialog.h"

namespace {

Platform systemPlatform() {
    return {
        [] { return std::make_unique<FluidSynthDevice>(); },
        [](const QString& filter) { return std::make_unique<QtFileDialog>(filter); },
    };
}

} // namespace

Platform& platform() {
    static Platform instance = systemPlatform();
    return instance;
}
