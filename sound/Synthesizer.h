#pragma once

#include "midifile/SongPresets.h"
#include "sound/AudioOutput.h"
#include "sound/SoundProblem.h"

#include <QString>

#include <fluidsynth.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <vector>

// FluidSynth's synthesizer with its SoundFont, and the MIDI player and audio
// output that drive it. Its work may wait for the disk or the sound server,
// so SoundEngine calls it on its command thread only, one call at a time.
//
// A small SoundFont is held in memory whole; of a large one only the samples
// of what plays are: opening a file loads the samples of the presets it uses
// (and only those), closing it lets them go.
// The failures a user would want to know of are reported each in one
// place, in a line on standard error and to the reporter: the SoundFont the
// user chose, when it cannot be used (start); no usable SoundFont (open,
// once); no audio output (open, once); a file that cannot be played (open,
// each time).
class Synthesizer {
public:
    static constexpr int sampleRate = 44100;

    struct Setup {
        std::filesystem::path chosenSoundFont; // tried first, when not empty
        std::vector<std::filesystem::path> soundFonts;
        // SoundFonts up to this size are held in memory whole; the samples
        // of larger ones are loaded by what plays.
        std::uintmax_t wholeSoundFontLimit = 0;
        // Where the sound goes; none: it is pulled with render().
        std::shared_ptr<AudioOutput> output;
        // Hears of problems, on the command thread.
        std::function<void(const SoundProblem& problem)> report;
    };

    explicit Synthesizer(Setup setup);
    ~Synthesizer();
    Synthesizer(const Synthesizer&) = delete;
    Synthesizer& operator=(const Synthesizer&) = delete;

    // Makes the synthesizer and loads the first SoundFont that loads.
    void start();
    // A synthesizer with a SoundFont.
    bool ready() const { return synth_ != nullptr && soundFont_ != FLUID_FAILED; }
    bool isOpen() const { return player_ != nullptr; }

    // Reads the file and makes a player for it, starting the audio output.
    // A file that cannot be played changes nothing; any other failure
    // leaves nothing open.
    void open(const QString& fileName);
    // The open file from its beginning.
    void play();
    // Halts the player and silences what sounds.
    void pause();
    void stop();
    // Ends the player and the audio output and forgets the file.
    void close();
    // Renders `frames` stereo frames, advancing the player by as much time.
    // False, with nothing written, when the synthesizer is not ready or an
    // audio output pulls the sound.
    bool render(float* left, float* right, int frames);

private:
    struct Free {
        void operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
        void operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
        void operator()(fluid_player_t* player) const { delete_fluid_player(player); }
    };

    static int forward(void* data, fluid_midi_event_t* event);
    static int atTick(void* data, int tick);

    bool configure();
    int load(const std::filesystem::path& soundFont);
    void loadSoundFont();
    bool loadChosenSoundFont();
    void tell(SoundProblem problem);
    bool startPlayer();
    bool startOutput();
    void stopPlayer();
    void pinPresets();
    void unpinPresets();
    void silence();

    const Setup setup_;
    // Declared in the order they are made: destroyed player first.
    std::unique_ptr<fluid_settings_t, Free> settings_;
    std::unique_ptr<fluid_synth_t, Free> synth_;
    std::unique_ptr<fluid_player_t, Free> player_;
    int soundFont_ = FLUID_FAILED;
    bool samplesOnDemand_ = true;
    bool outputFailureReported_ = false;
    bool soundFontFailureReported_ = false;

    std::vector<std::uint8_t> midi_; // the open file, for a fresh player at each play
    std::set<SongPresets::Preset> pinned_;
    bool outputRuns_ = false;
    // Once halted, no note may start: a player callback already under way in
    // the audio thread when the player was halted must not sound anew.
    std::atomic<bool> halted_{false};
    // The song has come to its end and let go of what it left sounding.
    std::atomic<bool> ended_{false};
    // Where it ends, once the player has read it; -1 until then.
    std::atomic<int> endTick_{-1};
    bool started_ = false;
};
