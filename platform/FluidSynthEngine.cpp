#include "platform/FluidSynthEngine.h"

#include "platform/FluidLog.h"
#include "platform/FluidSynthDevice.h"

#include <algorithm>
#include <atomic>

namespace fs = std::filesystem;

namespace {

// Plain strings, so that the search works even before other globals are built.
constexpr const char* systemSoundFontFolder = "/usr/share/sounds/sf2";
constexpr const char* otherSoundFontFolder = "/usr/share/soundfonts";
constexpr int noteOn = 0x90;

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

// What the player's callback reads in the audio thread. It lives as long as
// the player, which may outlive the engine's hold on it while it is retired.
struct FluidSynthEngine::Link {
    explicit Link(fluid_synth_t* synth) : synth(synth) {}
    fluid_synth_t* const synth;
    // Once halted, no note may start: a player callback already under way
    // when the player was halted must not sound anew.
    std::atomic<bool> halted{false};
};

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
    retirePlayer();
    retired_.await();
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

void FluidSynthEngine::awaitRetired() {
    retired_.await();
}

bool FluidSynthEngine::load(Owner owner, std::vector<std::uint8_t> midi, bool speakers) {
    if (!ready())
        return false;
    unload();
    midi_ = std::move(midi);
    speakers_ = speakers;
    if (!startPlayer()) {
        unload();
        return false;
    }
    owner_ = owner;
    return true;
}

void FluidSynthEngine::play(Owner owner) {
    if (!owns(owner))
        return;
    // A fresh player: FluidSynth's seek to the start skips the first notes
    // of a track that has not got past them.
    if (started_) {
        retirePlayer();
        if (!startPlayer()) {
            unload();
            return;
        }
    }
    // Nothing from an earlier play (program changes, controllers, reverb
    // tails) may colour this one.
    if (fluid_synth_system_reset(synth_) != FLUID_OK)
        FluidLog::report("cannot reset the synthesizer");
    link_->halted = false;
    if (fluid_player_play(player_) != FLUID_OK) {
        FluidLog::report("cannot start the MIDI player");
        return;
    }
    started_ = true;
}

void FluidSynthEngine::halt(Owner owner) {
    if (!owns(owner))
        return;
    link_->halted = true;
    if (fluid_player_stop(player_) != FLUID_OK)
        FluidLog::report("cannot halt the MIDI player");
    silence();
}

void FluidSynthEngine::release(Owner owner) {
    if (owns(owner))
        unload();
}

bool FluidSynthEngine::render(Owner owner, float* left, float* right, int frames) {
    if (!ready() || driver_ != nullptr || (owner_ != nullptr && owner_ != owner))
        return false;
    retired_.await();
    return fluid_synth_write_float(synth_, frames, left, 0, 1, right, 0, 1) == FLUID_OK;
}

// A player for the owner's file, and with speakers the audio output:
// FluidSynth wants the driver created after the player and deleted before it.
bool FluidSynthEngine::startPlayer() {
    retired_.await();
    link_ = std::make_unique<Link>(synth_);
    player_ = new_fluid_player(synth_);
    if (player_ == nullptr) {
        FluidLog::report("cannot create a MIDI player");
        return false;
    }
    if (fluid_player_set_playback_callback(player_, forward, link_.get()) != FLUID_OK ||
        fluid_player_add_mem(player_, midi_.data(), midi_.size()) != FLUID_OK) {
        FluidLog::report("cannot hand the file to the MIDI player");
        return false;
    }
    if (speakers_ && (driver_ = startAudio()) == nullptr)
        return false;
    started_ = false;
    return true;
}

void FluidSynthEngine::retirePlayer() {
    if (player_ == nullptr)
        return;
    // Until the driver is gone the player may go on, but no note may start.
    // (fluid_player_stop would walk every event of the file to no purpose.)
    link_->halted = true;
    retired_.retire([driver = driver_, player = player_, link = link_.get()] {
        if (driver != nullptr)
            delete_fluid_audio_driver(driver);
        delete_fluid_player(player);
        delete link;
    });
    link_.release(); // the retirement deletes it
    driver_ = nullptr;
    player_ = nullptr;
    // No voice may wait in the synthesizer for the next file's output.
    silence();
}

void FluidSynthEngine::unload() {
    retirePlayer();
    owner_ = nullptr;
    midi_.clear();
    midi_.shrink_to_fit();
    started_ = false;
}

void FluidSynthEngine::silence() {
    if (fluid_synth_all_sounds_off(synth_, -1) != FLUID_OK)
        FluidLog::report("cannot silence the synthesizer");
}

int FluidSynthEngine::forward(void* data, fluid_midi_event_t* event) {
    const auto* link = static_cast<const Link*>(data);
    if (link->halted && fluid_midi_event_get_type(event) == noteOn)
        return FLUID_OK;
    return fluid_synth_handle_midi_event(link->synth, event);
}
