#pragma once

#include "platform/FluidSynthEngine.h"

#include <memory>

// The SoundFont every test that renders sound uses, whatever the machine's
// default is: TimGM6mb, which the install script installs.
FluidSynthEngine::Config testEngineConfig();
bool testSoundFontInstalled();
// A synthesizer of the test's own on that SoundFont, with no audio output.
std::shared_ptr<FluidSynthEngine> makeTestEngine();
