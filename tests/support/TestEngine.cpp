#include "support/TestEngine.h"

#include <filesystem>
#include <system_error>

const char* testSoundFont() {
    return "/usr/share/sounds/sf2/TimGM6mb.sf2";
}

std::shared_ptr<FluidSynthEngine> makeTestEngine(std::vector<std::string> audioDrivers) {
    return std::make_shared<FluidSynthEngine>(
        FluidSynthEngine::Config{{testSoundFont()}, std::move(audioDrivers)});
}

std::shared_ptr<FluidSynthEngine> makeTestEngine(std::shared_ptr<AudioOutput> output) {
    return std::make_shared<FluidSynthEngine>(
        FluidSynthEngine::Config{{testSoundFont()}, {}, std::move(output)});
}

bool testSoundFontInstalled() {
    std::error_code error;
    return std::filesystem::is_regular_file(testSoundFont(), error);
}
