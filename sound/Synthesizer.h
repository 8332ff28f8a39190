#pragma once

#include "midifile/SongPresets.h"
#include "midifile/SongTiming.h"
#include "sound/AudioOutput.h"
#include "sound/SoundProblem.h"
#include "sound/SoundRequest.h"
#include "sound/SoundState.h"

#include <QString>

#include <fluidsynth.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

class SoundFontSubset;

// FluidSynth's synthesizer with its SoundFont, and the MIDI player and audio
// output that drive it. Its work may wait for the disk or the sound server,
// so SoundEngine calls it on its command thread only, one call at a time;
// the audio output's thread renders through it meanwhile, under a lock that
// the command thread takes only to change what the synthesizer plays.
//
// A small SoundFont is held in memory whole; of a large one only the samples
// of what plays are: opening a file loads the samples of the presets it uses
// (and only those), closing it lets them go.
// The failures a user would want to know of are reported each in one
// place, in a line on standard error and to the reporter: the SoundFont the
// user chose, when it cannot be used (start); no usable SoundFont (open,
// once); no audio output (open, once); a file that cannot be played (open,
// each time).
//
// The program loads this class, and FluidSynth with it, from a module of
// its own when the first song needs it (SynthesizerModule): the engine
// calls it through virtual functions only, and makes it through the
// module's makeSynthesizer().
class Synthesizer {
public:
    static constexpr int sampleRate = 44100;
    // The audio output's stream: periods of this many frames (46 ms), this
    // many of them buffered where the driver buffers more than one.
    static constexpr int periodFrames = 2048;
    static constexpr int periods = 4;
    // Voices that sound at once. FluidSynth's 256 cost twice the CPU of this
    // on a song that fills them (16 parts of sixteenth notes with FluidR3's
    // release tails), where the voices given up are the quietest ends of
    // released notes; the sound modules most songs were written for had 24
    // to 64.
    static constexpr int polyphony = 128;

    struct Setup {
        std::filesystem::path chosenSoundFont; // tried first, when not empty
        std::vector<std::filesystem::path> soundFonts;
        // SoundFonts up to this size are held in memory whole; the samples
        // of larger ones are loaded by what plays.
        std::uintmax_t wholeSoundFontLimit = 0;
        // Where the sound goes; none: it is pulled with render().
        std::shared_ptr<AudioOutput> output;
        // Hear of problems, of what sounds and of seeks, on the command
        // thread or, for a song's end and its start again, the audio thread.
        std::function<void(const SoundProblem& problem)> report;
        std::function<void(const SoundState& state)> reportState;
        std::function<void(std::chrono::microseconds position)> reportSeek;
        // Where the song is, kept up to date while it plays.
        std::shared_ptr<std::atomic<std::int64_t>> position;
    };

    explicit Synthesizer(Setup setup);
    virtual ~Synthesizer();
    Synthesizer(const Synthesizer&) = delete;
    Synthesizer& operator=(const Synthesizer&) = delete;

    // Makes the synthesizer and loads the first SoundFont that loads.
    virtual void start();
    // Tells, once, when the SoundFont the user named is missing or is none,
    // without loading it (start() tells of one that then fails to load).
    virtual void checkChosenSoundFont();
    // A synthesizer with a SoundFont.
    bool ready() const { return synth_ != nullptr && soundFont_ != FLUID_FAILED; }
    bool isOpen() const { return song_ != nullptr; }

    // Brings the synthesizer to what `request` asks for: opens its file
    // (the bytes kept from before when the same file, unchanged on disk, is
    // open), starts, pauses, resumes or seeks, or releases everything. A
    // file that cannot be played leaves nothing open.
    virtual void bringTo(const SoundRequest& request);
    // Reads the file and loads the samples it plays before it is opened
    // (the song named on the command line, while the windows are built),
    // so that its open then only starts it. A file that cannot be played
    // is left for its open to tell of.
    virtual void preload(const QString& fileName);
    // Renders `frames` stereo frames, advancing the player by as much time.
    // False, with nothing written, when the synthesizer is not ready or an
    // audio output pulls the sound.
    virtual bool render(float* left, float* right, int frames);

private:
    struct Free {
        void operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
        void operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
        void operator()(fluid_player_t* player) const { delete_fluid_player(player); }
    };
    // What tells a file changed on disk.
    struct FileStamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified;
        bool operator==(const FileStamp&) const = default;
    };
    struct Song {
        QString fileName;
        std::optional<FileStamp> stamp;  // the file's when it was read
        std::vector<std::uint8_t> bytes; // the normalised file
        SongTiming timing;
    };

    static int forward(void* data, fluid_midi_event_t* event);
    static int atTick(void* data, int tick);
    static int renderForOutput(void* data, int length, int effectsCount, float* effects[],
                               int outputCount, float* outputs[]);

    bool configure();
    int load(const std::filesystem::path& soundFont);
    void loadSoundFont();
    bool loadChosenSoundFont();
    void tell(SoundProblem problem);
    void tellState();
    // `playsNext`: a play follows at once, which starts the stream.
    bool openSong(const QString& fileName, bool playsNext);
    std::unique_ptr<Song> readSong(const QString& fileName, bool quietly = false);
    static std::optional<FileStamp> stampOf(const QString& fileName);
    std::unique_ptr<Song> takePreloaded(const QString& fileName,
                                        const std::optional<FileStamp>& stamp);
    bool startOutput();
    // The stream runs, started now if it did not; false without an output.
    bool streamRuns();
    void dropStream();
    void startAt(std::int64_t tick, bool playing);
    void halt();
    void release();
    void applyLooping();
    void chase(std::int64_t tick);
    void releaseWhatSounds();
    int loadInSynth(const SoundFontSubset* subset);
    void loadSubset(const std::map<SongPresets::Preset, PlayedNotes>& presets);
    void pinPresets(const std::vector<std::uint8_t>& song);
    void unpinPresets();
    void unsetPrograms();
    void silence();

    const Setup setup_;
    // The presets FluidSynth holds of a large SoundFont (none: all of it),
    // read from as long as FluidSynth holds them.
    std::unique_ptr<SoundFontSubset> subset_;
    // Declared in the order they are made: destroyed player first.
    std::unique_ptr<fluid_settings_t, Free> settings_;
    std::unique_ptr<fluid_synth_t, Free> synth_;
    std::unique_ptr<fluid_player_t, Free> player_;
    int soundFont_ = FLUID_FAILED;
    bool samplesOnDemand_ = true;
    bool outputFailureReported_ = false;
    bool soundFontFailureReported_ = false;
    bool chosenChecked_ = false;
    bool chosenUnusable_ = false;
    bool outputRuns_ = false;
    double fullGain_ = 0.2; // the synthesizer's gain at volume 1.0
    std::set<SongPresets::Preset> pinned_;

    // Taken by whoever renders (the audio output's thread, or render()), and
    // by the command thread while it changes the player and the song: a
    // player is never deleted while it plays.
    std::mutex rendering_;
    std::unique_ptr<Song> song_;
    std::unique_ptr<Song> preloaded_; // its presets pinned, not open yet
    SoundRequest done_;               // what has been carried out
    SoundState::Status status_ = SoundState::Status::Stopped;
    std::int64_t pausedTick_ = 0;
    // Under `rendering_`: the player's first callback, in which it plays the
    // song up to where it starts, has not come yet; its settings there were
    // set already (chase), only its notes at that tick are to sound.
    bool chasing_ = false;
    bool playerLoaded_ = false;
    int lastTick_ = -1;
    bool endReleased_ = false;
    std::atomic<bool> ended_{false};
    std::atomic<bool> looping_{false};
};
