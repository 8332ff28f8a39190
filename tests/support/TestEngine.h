#pragma once

#include "platform/AudioOutput.h"
#include "platform/FluidSynthEngine.h"

#include <memory>
#include <string>
#include <vector>

// A synthesizer of the test's own, on one named SoundFont (TimGM6mb, which the
// install script installs), so that what a test hears does not depend on
// which SoundFont the machine calls its default, nor on what a test before it
// left in the synthesizer. No audio driver unless given.
std::shared_ptr<FluidSynthEngine> makeTestEngine(std::vector<std::string> audioDrivers = {});
// The same with an audio output of the test's own.
std::shared_ptr<FluidSynthEngine> makeTestEngine(std::shared_ptr<AudioOutput> output);
// Whether that SoundFont is there; tests that listen skip without it.
bool testSoundFontInstalled();
// Its path.
const char* testSoundFont();
