#include "platform/FluidSynthEngine.h"

#include "platform/FluidLog.h"
#include "platform/FluidSynthDevice.h"

#include <algorithm>
#include <system_error>

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

// A FIFO or a device named *.sf2 would block the loader.
bool isRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

} // namespace

FluidSynthEngine::Config FluidSynthEngine::systemConfig() {
    Config config;
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

FluidSynthEngine::FluidSynthEngine(const Config& config) : audio_(config.audioDrivers) {
    FluidLog::install();
    FluidLog::forget();
    settings_ = new_fluid_settings();
    if (settings_ == nullptr || !configure()) {
        FluidLog::report("cannot set up the synthesizer; music is silent");
        return;
    }
    synth_ = new_fluid_synth(settings_);
    if (synth_ == nullptr) {
        FluidLog::report("cannot start the synthesizer; music is silent");
        return;
    }
    loadSoundFont(config.soundFonts);
}

FluidSynthEngine::~FluidSynthEngine() {
    awaitRetired();
    if (synth_ != nullptr)
        delete_fluid_synth(synth_);
    if (settings_ != nullptr)
        delete_fluid_settings(settings_);
}

bool FluidSynthEngine::configure() {
    // 256 frames a period, 4 periods: about 23 ms at 44.1 kHz, well under a
    // tenth of a second from a click to the speakers, without the crackle
    // and CPU cost of FluidSynth's 64-frame default.
    return fluid_settings_setint(settings_, "synth.midi-channels", 16) == FLUID_OK &&
           fluid_settings_setnum(settings_, "synth.sample-rate", FluidSynthDevice::sampleRate) ==
               FLUID_OK &&
           fluid_settings_setint(settings_, "audio.period-size", 256) == FLUID_OK &&
           fluid_settings_setint(settings_, "audio.periods", 4) == FLUID_OK &&
           // The player then advances with the samples rendered, also offline.
           fluid_settings_setstr(settings_, "player.timing-source", "sample") == FLUID_OK;
}

void FluidSynthEngine::loadSoundFont(const std::vector<fs::path>& candidates) {
    for (const fs::path& candidate : candidates) {
        if (!isRegularFile(candidate))
            continue;
        soundFont_ = fluid_synth_sfload(synth_, candidate.c_str(), 1);
        if (soundFont_ != FLUID_FAILED)
            return;
    }
    FluidLog::report(std::string("no usable SoundFont in ") + systemSoundFontFolder + " or " +
                     otherSoundFontFolder + "; music is silent");
}

fluid_audio_driver_t* FluidSynthEngine::startAudio() {
    if (!ready())
        return nullptr;
    FluidLog::forget();
    fluid_audio_driver_t* driver = audio_.start(settings_, synth_);
    if (driver == nullptr && !audioFailureReported_) {
        audioFailureReported_ = true;
        std::string tried;
        for (const std::string& name : audio_.drivers())
            tried += (tried.empty() ? "" : ", ") + name;
        FluidLog::forget(); // the last driver's complaint says nothing of the others
        FluidLog::report("no audio output (tried " + tried + "); music is silent");
    }
    return driver;
}

void FluidSynthEngine::retire(const std::function<void()>& deletion) {
    awaitRetired();
    try {
        retiring_ = std::async(std::launch::async, deletion);
    } catch (const std::system_error&) {
        deletion(); // no thread to be had: the window waits instead
    }
}

void FluidSynthEngine::awaitRetired() {
    if (retiring_.valid())
        retiring_.get();
}
