#include "bench/MidiFiles.h"
#include "bench/OneRunFigures.h"
#include "bench/SoundServer.h"
#include "sound/FluidSynthAudioOutput.h"
#include "sound/SoundEngine.h"
#include "support/MidiFileBuilder.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

// How long the window's thread spends in each sequencer command, with the
// real audio output on a sound server (PulseAudio, null sink), while it
// answers and while it does not: a frame at 60 Hz (16 ms) is the goal.
namespace {

class LongestCommand {
public:
    explicit LongestCommand(SoundEngine& device) : device_(device) {}

    // A command, and its hand-over to the engine's thread that the window's
    // event loop would make at the end of its turn.
    template <class Command> void time(Command command) {
        longest_ = std::max(longest_, Bench::seconds([&] {
                                          command();
                                          QCoreApplication::sendPostedEvents(&device_);
                                      }) * 1000);
    }
    // Every command the player window gives, one by one, then a song change.
    void everyCommand(const QString& song) {
        time([&] { device_.open(song); });
        time([&] { device_.play(); });
        QThread::msleep(200);
        time([&] { device_.pause(); });
        time([&] { device_.play(); });
        time([&] { device_.stop(); });
        time([&] { songChange(song); });
    }
    void songChange(const QString& song) {
        device_.stop();
        device_.open(song);
        device_.play();
    }
    double ms() const { return longest_; }

private:
    SoundEngine& device_;
    double longest_ = 0;
};

std::vector<double> commands() {
    SoundServer& server = SoundServer::shared();
    const QString song =
        benchMidiFile("dense-20s.mid", [] { return MidiFileBuilder::dense(16, 20.0); });
    const QString largest = benchMidiFile(
        "limit.mid", [] { return MidiFileBuilder::dense(16, 7600.0); }); // 3.9 million events
    SoundEngine device(SoundEngine::Config::system());

    LongestCommand answering(device);
    answering.everyCommand(song);
    LongestCommand large(device);
    large.time([&] { large.songChange(largest); });
    QThread::msleep(500);
    large.time([&] { large.songChange(song); });
    device.settle();

    QThread::msleep(300);
    server.stopAnswering();
    QThread::msleep(300); // the stream's buffer fills
    LongestCommand stuck(device);
    stuck.everyCommand(song);
    stuck.everyCommand(song);
    server.answerAgain();
    device.settle();
    return {answering.ms(), large.ms(), stuck.ms()};
}

// Starting the audio output on the sound server: what the first sound waits
// for beyond the synthesizer, besides the output's buffer.
double outputStartMs() {
    SoundServer::shared();
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setint(settings, "audio.period-size", 256);
    fluid_settings_setint(settings, "audio.periods", 4);
    fluid_synth_t* synth = new_fluid_synth(settings);
    FluidSynthAudioOutput output({"pulseaudio"});
    const auto render = [](void* data, int length, int effectsCount, float* effects[],
                           int outputCount, float* outputs[]) {
        return fluid_synth_process(static_cast<fluid_synth_t*>(data), length, effectsCount, effects,
                                   outputCount, outputs);
    };
    const double ms = Bench::seconds([&] { output.start(settings, render, synth); }) * 1000;
    output.stop();
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return ms;
}

const bool registered = [] {
    Bench::addFromOneRun(
        "window",
        {{"longest command on the window's thread: open, play, pause, stop, song change", "ms"},
         {"... a song change to and from the largest accepted file", "ms"},
         {"... the same commands, the sound server stopped", "ms"}},
        commands);
    Bench::add(
        {"playback", "audio output start on the sound server (null sink)", "ms", outputStartMs});
    return true;
}();

} // namespace
