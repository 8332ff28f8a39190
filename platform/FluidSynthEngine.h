#pragma once

#include "platform/AudioOutput.h"
#include "platform/CommandQueue.h"
#include "platform/SequencerDevice.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Synthesizer;

// The one synthesizer of the run, with its SoundFont, and the one MIDI
// player and audio output that drive it. Every FluidSynthDevice of the run
// shares the engine, so that a later open() then play() reaches sound at
// once; but only one device holds the player at a time: the one that opened
// a file last, until it closes it. Whatever another device does then changes
// nothing, so a window being destroyed cannot silence or stop the music of
// the one built after it, and a rendering cannot pull samples from beside a
// playing device.
//
// The window never waits for the sound. Everything that may take time (the
// SoundFont, reading a file, the audio output, deleting a player) happens on
// the engine's command thread, in the order the commands were given: open,
// play, halt and release return at once, a play given before the SoundFont
// is loaded sounds once it is, and a halt given before the music started
// means no music. When the sound server stops answering, the commands wait
// on that thread for it; destroying the engine then leaves the thread to
// finish on its own (CommandQueue), so the program still ends.
//
// A missing SoundFont is reported once, in one line on standard error; the
// engine is then not ready and every device stays silent. Any other failure
// writes one line and leaves nobody holding the player. Give commands from
// one thread, the window's.
class FluidSynthEngine {
public:
    struct Config {
        std::vector<std::filesystem::path> soundFonts; // tried in this order
        std::vector<std::string> audioDrivers;         // tried in this order
        // Instead of FluidSynth's drivers (a test's stand-in).
        std::shared_ptr<AudioOutput> audioOutput = nullptr;
        // The SoundFont the user named; tried first, and when it cannot be
        // used the first listener hears why.
        std::filesystem::path chosenSoundFont = {};
    };

    // The SoundFont the user chose (chooseSoundFont(), else the environment
    // variable PELORA_SOUNDFONT), then the system's default General MIDI
    // SoundFont, then any other installed one; PulseAudio (which also serves
    // PipeWire desktops), ALSA, JACK, SDL2, OSS.
    static Config systemConfig();
    // The SoundFont named on the command line, for the engine made after.
    static void chooseSoundFont(std::filesystem::path soundFont);
    // The engine of the run, made from systemConfig() on first use.
    static std::shared_ptr<FluidSynthEngine> shared();

    // Returns at once; nothing is loaded until prepare() or a command.
    explicit FluidSynthEngine(Config config);
    ~FluidSynthEngine();
    FluidSynthEngine(const FluidSynthEngine&) = delete;
    FluidSynthEngine& operator=(const FluidSynthEngine&) = delete;

    // Builds the synthesizer and loads its SoundFont on the command thread,
    // once; returns at once. The first command does it if nobody has, so a
    // program calls it only to have the SoundFont ready before the user's
    // first play, at a moment when it slows nothing down.
    void prepare();
    // Whoever holds the player, told apart by an address (a device's own).
    using Owner = const void*;
    // Hears of the problems a user should know of, on the command thread.
    using Reporter = std::function<void(const SequencerProblem& problem)>;

    // Reads `fileName` and takes the player over for `owner`: the player of
    // whoever held it ends, and a new one is made, with the audio output
    // when `speakers`. A file that cannot be played changes nothing.
    // `report` hears of what prevents the music: the file, the SoundFont,
    // the audio output.
    void open(Owner owner, const QString& fileName, bool speakers, Reporter report);
    // `report` hears of the problems met so far that nobody has heard of
    // (a chosen SoundFont that cannot be used).
    void listen(Reporter report);
    // The owner's file from its beginning.
    void play(Owner owner);
    // Halts the owner's player and silences what sounds.
    void halt(Owner owner);
    // Ends the owner's player and audio output and forgets its file.
    void release(Owner owner);

    // These wait for the commands given before them, so they are for tests
    // and offline rendering, not for a window.
    //
    // Returns once every command given so far is carried out.
    void settle();
    // A synthesizer with a SoundFont.
    bool ready();
    bool owns(Owner owner);
    // Renders `frames` stereo frames into `left` and `right` on the calling
    // thread, advancing the player by as much time. False, with nothing
    // written, when the engine is not ready, the audio output runs, or
    // another owner holds the player.
    bool render(Owner owner, float* left, float* right, int frames);

private:
    void give(std::function<void(Synthesizer&)> command);

    std::shared_ptr<Synthesizer> synthesizer_;
    bool prepared_ = false;
    std::vector<Reporter> earlyListeners_; // until prepare()
    CommandQueue commands_;
};
