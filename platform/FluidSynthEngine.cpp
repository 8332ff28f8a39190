#include "platform/FluidSynthEngine.h"

#include "platform/FluidLog.h"
#include "platform/FluidSynthAudioOutput.h"
#include "platform/Synthesizer.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <malloc.h>
#include <utility>

namespace fs = std::filesystem;

namespace {

// Plain strings, so that the search works even before other globals are built.
constexpr const char* systemSoundFontFolder = "/usr/share/sounds/sf2";
constexpr const char* otherSoundFontFolder = "/usr/share/soundfonts";

std::vector<fs::path> soundFontsIn(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".sf2")
            found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The engine's boundary: whatever goes wrong inside a command, the caller
// sees one that changed nothing.
template <class Command> void quietly(Command command) {
    FluidLog::forget();
    try {
        command();
    } catch (const std::exception& error) {
        FluidLog::report(std::string("the sequencer failed: ") + error.what());
    } catch (...) {
        FluidLog::report("the sequencer failed");
    }
}

fs::path& chosenOnCommandLine() {
    static fs::path soundFont;
    return soundFont;
}

// Loading a SoundFont or a file's samples leaves the parser's scratch memory
// freed but still held by the command thread's heap (some 2.7 MB after
// TimGM6mb's tables): hand it back, here where nobody waits for it.
void returnFreedMemory() {
    malloc_trim(0);
}

} // namespace

void FluidSynthEngine::chooseSoundFont(fs::path soundFont) {
    chosenOnCommandLine() = std::move(soundFont);
}

FluidSynthEngine::Config FluidSynthEngine::systemConfig() {
    Config config;
    config.chosenSoundFont = chosenOnCommandLine();
    if (config.chosenSoundFont.empty()) {
        const char* fromEnvironment = std::getenv("PELORA_SOUNDFONT");
        if (fromEnvironment != nullptr)
            config.chosenSoundFont = fromEnvironment;
    }
    config.soundFonts.push_back(fs::path(systemSoundFontFolder) / "default-GM.sf2");
    for (const char* folder : {systemSoundFontFolder, otherSoundFontFolder}) {
        const std::vector<fs::path> found = soundFontsIn(folder);
        config.soundFonts.insert(config.soundFonts.end(), found.begin(), found.end());
    }
    config.audioDrivers = {"pulseaudio", "alsa", "jack", "sdl2", "oss"};
    return config;
}

std::shared_ptr<FluidSynthEngine> FluidSynthEngine::shared() {
    static const std::shared_ptr<FluidSynthEngine> engine =
        std::make_shared<FluidSynthEngine>(systemConfig());
    return engine;
}

FluidSynthEngine::FluidSynthEngine(Config config) {
    // Here, so that the log outlives the engine even as the program ends.
    FluidLog::install();
    FluidLog::forget();
    std::shared_ptr<AudioOutput> output = config.audioOutput;
    if (output == nullptr)
        output = std::make_shared<FluidSynthAudioOutput>(config.audioDrivers);
    synthesizer_ = std::make_shared<Synthesizer>(std::move(config.chosenSoundFont),
                                                 std::move(config.soundFonts), std::move(output));
}

// The synthesizer ends on the command thread, after the commands before it;
// the queue waits for that only a short while (a stuck sound server).
FluidSynthEngine::~FluidSynthEngine() {
    commands_.give([synthesizer = std::move(synthesizer_)]() mutable {
        quietly([&] { synthesizer.reset(); });
    });
}

void FluidSynthEngine::prepare() {
    if (prepared_)
        return;
    prepared_ = true;
    commands_.give([synthesizer = synthesizer_, listeners = std::exchange(earlyListeners_, {})] {
        quietly([&] {
            synthesizer->start();
            returnFreedMemory();
        });
        for (const Reporter& report : listeners)
            quietly([&] { synthesizer->listen(report); });
    });
}

void FluidSynthEngine::give(std::function<void(Synthesizer&)> command) {
    prepare();
    commands_.give([synthesizer = synthesizer_, command = std::move(command)] {
        quietly([&] { command(*synthesizer); });
    });
}

void FluidSynthEngine::open(Owner owner, const QString& fileName, bool speakers, Reporter report) {
    give([owner, fileName, speakers, report = std::move(report)](Synthesizer& synthesizer) {
        synthesizer.open(owner, fileName, speakers, report);
        returnFreedMemory();
    });
}

void FluidSynthEngine::listen(Reporter report) {
    // Nothing can have gone wrong before the SoundFont was tried.
    if (!prepared_) {
        earlyListeners_.push_back(std::move(report));
        return;
    }
    give([report = std::move(report)](Synthesizer& synthesizer) { synthesizer.listen(report); });
}

void FluidSynthEngine::play(Owner owner) {
    give([owner](Synthesizer& synthesizer) { synthesizer.play(owner); });
}

void FluidSynthEngine::halt(Owner owner) {
    give([owner](Synthesizer& synthesizer) { synthesizer.halt(owner); });
}

void FluidSynthEngine::release(Owner owner) {
    give([owner](Synthesizer& synthesizer) { synthesizer.release(owner); });
}

void FluidSynthEngine::settle() {
    commands_.settle();
}

bool FluidSynthEngine::ready() {
    prepare();
    settle();
    return synthesizer_->ready();
}

bool FluidSynthEngine::owns(Owner owner) {
    settle();
    return synthesizer_->owns(owner);
}

bool FluidSynthEngine::render(Owner owner, float* left, float* right, int frames) {
    settle();
    return synthesizer_->render(owner, left, right, frames);
}
