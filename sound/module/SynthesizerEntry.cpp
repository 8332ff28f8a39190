// The one function the synthesizer module gives the program: everything
// that calls FluidSynth is behind it (see SynthesizerModule).
#include "sound/FluidSynthAudioOutput.h"
#include "sound/Synthesizer.h"

extern "C" Q_DECL_EXPORT std::shared_ptr<Synthesizer>
makeSynthesizer(Synthesizer::Setup setup, std::vector<std::string> audioDrivers) {
    if (setup.output == nullptr && !audioDrivers.empty())
        setup.output = std::make_shared<FluidSynthAudioOutput>(std::move(audioDrivers));
    return std::make_shared<Synthesizer>(std::move(setup));
}
