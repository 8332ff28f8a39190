#pragma once

#include "platform/AudioOutput.h"
#include "platform/SongPresets.h"

#include <QString>

#include <fluidsynth.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <vector>

// The synthesizer with its SoundFont, and the one MIDI player and audio
// output that drive it, for whoever opened a file last (the owner). Its
// work may wait for the disk or the sound server, so FluidSynthEngine calls
// it on its command thread only, one call at a time.
//
// FluidSynth's samples are loaded by what plays: opening a file loads the
// samples of the presets it uses (and only those), closing it lets them go.
// The three failures a user would want to know of are reported each in one
// place: no usable SoundFont (start), no audio output (startOutput) and a
// file that cannot be played (open).
class Synthesizer {
public:
    using Owner = const void*;

    static constexpr int sampleRate = 44100;

    Synthesizer(std::vector<std::filesystem::path> soundFonts, std::shared_ptr<AudioOutput> output);
    ~Synthesizer();
    Synthesizer(const Synthesizer&) = delete;
    Synthesizer& operator=(const Synthesizer&) = delete;

    // Makes the synthesizer and loads the first SoundFont that loads.
    void start();
    // A synthesizer with a SoundFont.
    bool ready() const { return synth_ != nullptr && soundFont_ != FLUID_FAILED; }
    bool owns(Owner owner) const { return owner != nullptr && owner == owner_; }

    // Reads the file and takes the player over for `owner`, with the audio
    // output when `speakers`. A file that cannot be played changes nothing;
    // any other failure leaves nobody holding the player.
    void open(Owner owner, const QString& fileName, bool speakers);
    // The owner's file from its beginning.
    void play(Owner owner);
    // Halts the owner's player and silences what sounds.
    void halt(Owner owner);
    // Ends the owner's player and audio output and forgets its file.
    void release(Owner owner);
    // Renders `frames` stereo frames, advancing the player by as much time.
    // False, with nothing written, when the synthesizer is not ready, the
    // audio output runs, or another owner holds the player.
    bool render(Owner owner, float* left, float* right, int frames);

private:
    static int forward(void* data, fluid_midi_event_t* event);

    bool configure();
    void loadSoundFont();
    bool startPlayer();
    bool startOutput();
    void stopPlayer();
    void unload();
    void pinPresets();
    void unpinPresets();
    void silence();

    const std::vector<std::filesystem::path> soundFonts_;
    const std::shared_ptr<AudioOutput> output_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    int soundFont_ = FLUID_FAILED;
    bool outputFailureReported_ = false;

    Owner owner_ = nullptr;
    std::vector<std::uint8_t> midi_; // the owner's file, for a fresh player at each play
    std::set<SongPresets::Preset> pinned_;
    bool speakers_ = false;
    bool outputRuns_ = false;
    fluid_player_t* player_ = nullptr;
    // Once halted, no note may start: a player callback already under way in
    // the audio thread when the player was halted must not sound anew.
    std::atomic<bool> halted_{false};
    bool started_ = false;
};
