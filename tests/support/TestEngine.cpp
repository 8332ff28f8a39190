#include "support/TestEngine.h"

#include <filesystem>
#include <system_error>

namespace {
const std::filesystem::path testSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
} // namespace

std::shared_ptr<FluidSynthEngine> makeTestEngine(std::vector<std::string> audioDrivers) {
    return std::make_shared<FluidSynthEngine>(
        FluidSynthEngine::Config{{testSoundFont}, std::move(audioDrivers)});
}

bool testSoundFontInstalled() {
    std::error_code error;
    return std::filesystem::is_regular_file(testSoundFont, error);
}
