#include "support/TestEngine.h"

#include <filesystem>
#include <system_error>

const char* testSoundFont() {
    return "/usr/share/sounds/sf2/TimGM6mb.sf2";
}

SoundEngine::Config testEngineConfig(std::vector<std::string> audioDrivers) {
    SoundEngine::Config config;
    config.soundFonts = {testSoundFont()};
    config.offline = audioDrivers.empty();
    config.audioDrivers = std::move(audioDrivers);
    return config;
}

SoundEngine::Config testEngineConfig(std::shared_ptr<AudioOutput> output) {
    SoundEngine::Config config;
    config.soundFonts = {testSoundFont()};
    config.audioOutput = std::move(output);
    return config;
}

bool testSoundFontInstalled() {
    std::error_code error;
    return std::filesystem::is_regular_file(testSoundFont(), error);
}
