#pragma once

#include "platform/AudioOutput.h"
#include "platform/SequencerDevice.h"
#include "platform/SongPresets.h"

#include <QString>

#include <fluidsynth.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
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
// The failures a user would want to know of are reported each in one
// place, in a line on standard error and to the owner's reporter: no usable
// SoundFont (open, once), no audio output (startOutput, once), a file that
// cannot be played (open, each time); and the SoundFont the user chose, when
// it cannot be used (loadSoundFont), to the first reporter that listens.
class Synthesizer {
public:
    using Owner = const void*;
    // Hears of problems on the command thread.
    using Reporter = std::function<void(const SequencerProblem& problem)>;

    static constexpr int sampleRate = 44100;

    // `chosenSoundFont`, when not empty, is tried before `soundFonts`.
    Synthesizer(std::filesystem::path chosenSoundFont,
                std::vector<std::filesystem::path> soundFonts, std::shared_ptr<AudioOutput> output);
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
    void open(Owner owner, const QString& fileName, bool speakers, Reporter report);
    // Tells `report` of the problems met so far that nobody has heard of.
    void listen(const Reporter& report);
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
    bool loadChosenSoundFont();
    void tell(const SequencerProblem& problem);
    bool startPlayer();
    bool startOutput();
    void stopPlayer();
    void unload();
    void pinPresets();
    void unpinPresets();
    void silence();

    const std::filesystem::path chosenSoundFont_;
    const std::vector<std::filesystem::path> soundFonts_;
    const std::shared_ptr<AudioOutput> output_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    int soundFont_ = FLUID_FAILED;
    bool outputFailureReported_ = false;
    bool soundFontFailureReported_ = false;
    std::vector<SequencerProblem> untold_;

    Owner owner_ = nullptr;
    Reporter report_;                // the owner's
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
