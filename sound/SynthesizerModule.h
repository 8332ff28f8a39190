#pragma once

#include "sound/Synthesizer.h"

#include <memory>
#include <string>
#include <vector>

// The synthesizer's code and FluidSynth with its libraries are a module of
// their own (libpelora_synthesizer.so), loaded on the engine's thread when
// the first song needs them: a Pelora that only sits there holds none of
// their memory (some 4.4 MB of libraries alone).
//
// The module lies beside the program in the build tree (and one folder up,
// for the test programs in tests/), and in Pelora's library folder
// (lib/.../pelora/synthesizer) when installed.
class SynthesizerModule {
public:
    // `audioDrivers`: FluidSynth's drivers to try, in order, when the setup
    // names no output; none: the sound is pulled with render().
    using Make = std::shared_ptr<Synthesizer> (*)(Synthesizer::Setup setup,
                                                  std::vector<std::string> audioDrivers);

    // Loads the module; null, with why in `failure`, when it cannot be.
    static Make load(std::string& failure);
};

// The module's one function (sound/module/), which a program that links the
// module's code in (the fuzz targets) gives the engine itself.
extern "C" std::shared_ptr<Synthesizer> makeSynthesizer(Synthesizer::Setup setup,
                                                        std::vector<std::string> audioDrivers);
