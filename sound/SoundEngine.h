#pragma once

#include "sound/AudioOutput.h"
#include "sound/Sequencer.h"
#include "sound/SoundRequest.h"
#include "sound/SynthesizerModule.h"

#include <QString>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CommandThread;
class Synthesizer;

// The music: FluidSynth's synthesizer with its SoundFont, and the MIDI
// player and audio output that drive it.
//
// The window never waits for the sound. Every command returns at once and
// only writes down what the player wants; the commands of one turn of the
// engine's thread's event loop are handed over together when it ends, and
// the engine's command thread brings the synthesizer to the latest of them:
// reading the SoundFont and the file, starting and stopping the audio
// output, deleting a player may each take as long as the disk or the sound
// server, and a burst of commands costs no more than its last. A play given
// before the SoundFont is loaded sounds once it is; a pause given before the
// music started means no music. Problems, states and seeks met there are
// emitted on the engine's thread.
//
// Give commands from one thread, the one the engine was made on. Make the
// engine before the program starts threads of its own: making it sets a
// variable of the environment (so that trying JACK starts no JACK server).
class SoundEngine : public Sequencer {
    Q_OBJECT
public:
    static constexpr int sampleRate = 44100;

    struct Config {
        // The SoundFont the user named, tried first; when it cannot be used
        // problem() says why, and the search goes on.
        std::filesystem::path chosenSoundFont;
        std::vector<std::filesystem::path> soundFonts; // tried in this order
        // SoundFonts up to this size are held in memory whole, larger ones
        // load the samples of what plays (see Synthesizer::load). Holding
        // one whole costs about its size in memory; loading by what plays
        // changes its sound by some -37 dB (`make bench`, group soundfont):
        // worth a few megabytes, not the hundred a large one would cost.
        std::uintmax_t wholeSoundFontLimit = 16 * 1024 * 1024;
        std::vector<std::string> audioDrivers; // tried in this order
        // Instead of FluidSynth's drivers (a test's stand-in).
        std::shared_ptr<AudioOutput> audioOutput;
        // No audio output at all: the sound is pulled with render().
        bool offline = false;
        // What makes the synthesizer, for a program that links its code in;
        // none: it comes from the synthesizer's module (SynthesizerModule).
        SynthesizerModule::Make makeSynthesizer = nullptr;

        // `chosenSoundFont`, else the one PELORA_SOUNDFONT names, then the
        // system's default General MIDI SoundFont, then any other installed
        // one; PulseAudio (which also serves PipeWire desktops), ALSA, JACK,
        // SDL2, OSS.
        static Config system(std::filesystem::path chosenSoundFont = {});
    };

    // Returns at once; nothing is loaded until prepare() or a command that
    // opens a file.
    explicit SoundEngine(Config config, QObject* parent = nullptr);
    // shutDown(), if not done yet.
    ~SoundEngine() override;

    // Builds the synthesizer and loads its SoundFont, once; returns at once.
    // The first command that opens a file does it if nothing has; settings
    // given before (volume, loop) wait for it. Until then the engine holds
    // none of the synthesizer's memory.
    void prepare() override;
    // prepare(), then the song that is to play first read and its samples
    // loaded ahead of its open; returns at once.
    void prepareToPlay(const QString& fileName);
    // Tells (problem()) when the SoundFont the user named is missing or is
    // not one, without making the synthesizer; returns at once.
    void checkChosenSoundFont();

    void open(const QString& fileName) override;
    void play() override;
    void pause() override;
    void stop() override;
    void seek(std::chrono::microseconds position) override;
    void setLooping(bool track) override;
    void setVolume(double volume) override;
    SoundState state() const override;

    // Ends the music and the synthesizer. The commands given before get
    // CommandThread::grace to be carried out; a command thread stuck on a
    // sound server that stopped answering is then left to finish on its
    // own, so the program ends all the same. No command is carried out
    // afterwards, and no problem is emitted.
    void shutDown();

    // These wait for the commands given before them, so they are for tests
    // and offline rendering, not for a window.
    //
    // Whether every command given so far was carried out within `limit`.
    bool settle(std::chrono::milliseconds limit = std::chrono::seconds(10));
    // How many tasks wait for the command thread (for tests: a bound, whatever
    // the number of commands given).
    std::size_t waitingTasks() const;
    // A synthesizer with a SoundFont.
    bool ready();
    // Whether a file is open.
    bool isOpen();
    // Offline only: renders `frames` stereo frames into `left` and `right`
    // (each room for `frames` floats, full scale ±1.0) on the calling
    // thread, advancing the player by as much time. Between commands the
    // music goes on exactly as far as it is rendered. Silence when the
    // engine is not offline or has no SoundFont.
    void render(float* left, float* right, int frames);

private:
    struct Mailbox;

    // The request changed: handed over when this turn of the event loop ends.
    void requestChanged();
    // Hands the request over to the command thread.
    void handOver();

    std::shared_ptr<Mailbox> mailbox_;
    struct SynthesizerSlot;
    std::shared_ptr<SynthesizerSlot> synthesizer_;
    std::filesystem::path chosenSoundFont_;
    std::unique_ptr<CommandThread> commands_;
    SoundRequest request_;
    bool prepared_ = false;
    bool handOverDue_ = false;
};
