#include "app/Platform.h"

#include "platform/FluidSynthDevice.h"
#include "platform/QtFileDialog.h"

Platform& platform() {
    static Platform instance;
    return instance;
}

void useSystemPlatform() {
    platform().makeSequencer = [] { return std::make_unique<FluidSynthDevice>(); };
    platform().makeFileDialog = [](const QString& filter) {
        return std::make_unique<QtFileDialog>(filter);
    };
}
