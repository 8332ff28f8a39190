#pragma once

#include "sound/AudioOutput.h"
#include "sound/SoundEngine.h"

#include <memory>
#include <string>
#include <vector>

// A sound engine of the test's own on one named SoundFont (TimGM6mb, which
// the install script installs), so that what a test hears does not depend
// on which SoundFont the machine calls its default, nor on what a test
// before it left in the synthesizer. Offline unless given audio drivers or
// an audio output.
SoundEngine::Config testEngineConfig(std::vector<std::string> audioDrivers = {});
SoundEngine::Config testEngineConfig(std::shared_ptr<AudioOutput> output);
// Whether that SoundFont is there; tests that listen skip without it.
bool testSoundFontInstalled();
// Its path.
const char* testSoundFont();
