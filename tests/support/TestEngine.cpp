#include "support/TestEngine.h"

#include <filesystem>

namespace {
constexpr const char* testSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
}

FluidSynthEngine::Config testEngineConfig() {
    return {{testSoundFont}, {}};
}

bool testSoundFontInstalled() {
    return std::filesystem::is_regular_file(testSoundFont);
}

std::shared_ptr<FluidSynthEngine> makeTestEngine() {
    return std::make_shared<FluidSynthEngine>(testEngineConfig());
}
