#include "bench/BenchSoundFonts.h"
#include "bench/MidiFiles.h"
#include "bench/OneRunFigures.h"
#include "sound/SoundEngine.h"

#include <QFile>

#include <cmath>
#include <limits>
#include <malloc.h>
#include <vector>

// Where a SoundFont is better held whole than loaded by what plays: for each
// installed General MIDI SoundFont, the memory the engine holds with the
// generator's 16-instrument song open both ways, and how far the sound of
// samples loaded by what plays lies from the whole SoundFont's.
namespace {

constexpr double renderSeconds = 10.0;

using SoundFont = BenchSoundFont;

// The heap in use, over every thread's arena and the blocks mapped on
// their own: what the engine keeps, whatever an earlier engine freed.
double heapMb() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<double>(heap.uordblks + heap.hblkhd) / (1024 * 1024);
}

struct Rendering {
    double memoryMb; // the engine's, its SoundFont loaded and the song open
    std::vector<float> left;
};

Rendering render(const SoundFont& soundFont, bool whole) {
    const QString song =
        benchMidiFile("dense-20s.mid", [] { return MidiFileBuilder::dense(16, 20.0); });
    SoundEngine::Config config;
    config.soundFonts = {soundFont.path};
    config.offline = true;
    config.wholeSoundFontLimit = whole ? std::numeric_limits<std::uintmax_t>::max() : 0;
    const double before = heapMb();
    SoundEngine engine(config);
    engine.open(song);
    engine.play();
    engine.settle();
    Rendering rendering{heapMb() - before, {}};
    const int frames = static_cast<int>(renderSeconds * SoundEngine::sampleRate);
    rendering.left.resize(static_cast<std::size_t>(frames));
    std::vector<float> right(rendering.left.size());
    engine.render(rendering.left.data(), right.data(), frames);
    return rendering;
}

// The two ways, and the level of their difference against the whole
// SoundFont's sound.
std::vector<double> compare(const SoundFont& soundFont) {
    const Rendering whole = render(soundFont, true);
    const Rendering onDemand = render(soundFont, false);
    double signal = 0, difference = 0;
    for (std::size_t i = 0; i < whole.left.size(); ++i) {
        signal += double(whole.left[i]) * whole.left[i];
        const double apart = double(onDemand.left[i]) - whole.left[i];
        difference += apart * apart;
    }
    return {whole.memoryMb, onDemand.memoryMb, 10 * std::log10(difference / signal)};
}

const bool registered = [] {
    for (const SoundFont& soundFont : benchSoundFonts) {
        if (!QFile::exists(soundFont.path))
            continue;
        const std::string with = std::string(" (") + soundFont.name + ")";
        Bench::addFromOneRun("soundfont",
                             {{"memory, SoundFont held whole, song open" + with, "MB"},
                              {"... samples loaded by what plays", "MB"},
                              {"... their sound against the whole one's", "dB"}},
                             [soundFont] { return compare(soundFont); });
    }
    return true;
}();

} // namespace
