#pragma once

#include "platform/AudioOutput.h"
#include "platform/Retirement.h"

#include <fluidsynth.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// The one synthesizer of the run, with its SoundFont loaded once, and the one
// MIDI player and audio output that drive it. Every FluidSynthDevice of the
// run shares the engine, so that a later open() then play() reaches sound at
// once; but only one device holds the player at a time: the one that opened a
// file last, until it closes it. Whatever another device does then changes
// nothing, so a window being destroyed cannot silence or stop the music of
// the one built after it, and a rendering cannot pull samples from beside a
// playing device.
//
// A missing SoundFont is reported once, in one line on standard error; the
// engine is then not ready and every device stays silent. Any other failure
// writes one line and leaves nobody holding the player. Call it from one
// thread, the window's.
class FluidSynthEngine {
public:
    struct Config {
        std::vector<std::filesystem::path> soundFonts; // tried in this order
        std::vector<std::string> audioDrivers;         // tried in this order
    };

    // The system's default General MIDI SoundFont first, then any other
    // installed one; PulseAudio (which also serves PipeWire desktops), ALSA,
    // JACK, SDL2, OSS.
    static Config systemConfig();
    // The engine of the run, made from systemConfig() on first use.
    static std::shared_ptr<FluidSynthEngine> shared();

    explicit FluidSynthEngine(const Config& config);
    ~FluidSynthEngine();
    FluidSynthEngine(const FluidSynthEngine&) = delete;
    FluidSynthEngine& operator=(const FluidSynthEngine&) = delete;

    // A synthesizer with a SoundFont.
    bool ready() const { return synth_ != nullptr && soundFont_ != FLUID_FAILED; }

    // Whoever holds the player, told apart by an address (a device's own).
    using Owner = const void*;
    bool owns(Owner owner) const { return owner != nullptr && owner == owner_; }

    // Takes the player over for `owner`: the player of whoever held it is
    // retired, and a new one made for `midi` (a well-formed standard MIDI
    // file), with the audio output when `speakers`. False when that fails;
    // nobody holds the player then.
    bool load(Owner owner, std::vector<std::uint8_t> midi, bool speakers);
    // The owner's file from its beginning.
    void play(Owner owner);
    // Halts the owner's player and silences what sounds.
    void halt(Owner owner);
    // Retires the owner's player and audio output and forgets its file.
    void release(Owner owner);
    // Renders `frames` stereo frames into `left` and `right`, advancing the
    // player by as much time. False, with nothing written, when the engine is
    // not ready, the audio output runs, or another owner holds the player.
    bool render(Owner owner, float* left, float* right, int frames);

    // Returns once every retired player and audio output is deleted.
    void awaitRetired();

private:
    struct Link;
    static int forward(void* data, fluid_midi_event_t* event);

    bool configure();
    void loadSoundFont(const std::vector<std::filesystem::path>& candidates);
    fluid_audio_driver_t* startAudio();
    bool startPlayer();
    void retirePlayer();
    void unload();
    void silence();

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    int soundFont_ = FLUID_FAILED;
    AudioOutput audio_;
    bool audioFailureReported_ = false;
    Retirement retired_;

    Owner owner_ = nullptr;
    std::vector<std::uint8_t> midi_; // the owner's file, for a fresh player at each play
    bool speakers_ = false;
    fluid_player_t* player_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;
    std::unique_ptr<Link> link_;
    bool started_ = false;
};
