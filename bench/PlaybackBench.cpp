#include "bench/MidiFiles.h"
#include "bench/OneRunFigures.h"
#include "sound/SoundEngine.h"
#include "support/MidiFileBuilder.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <malloc.h>
#include <memory>
#include <stdexcept>
#include <vector>

// Playback on the real synthesizer, offline: what the audio driver would
// ask for, period by period, rendered as fast as the CPU allows.
namespace {

constexpr int period = 256; // frames the audio driver asks for at a time
constexpr float audible = 1e-4f;

QString song() {
    return benchMidiFile("song.mid", [] { return MidiFileBuilder::song(); });
}
QString laterSong() {
    return benchMidiFile("later.mid", [] { return MidiFileBuilder::twoChords(); });
}
// 16 tracks of sixteenth notes for 30 s.
QString denseSong() {
    return benchMidiFile("dense.mid", [] { return MidiFileBuilder::dense(16, 30.0); });
}
// 3.9 million events, 16 MB: just under the device's limit of 4 million.
QString atTheLimit() {
    return benchMidiFile("limit.mid", [] { return MidiFileBuilder::dense(16, 7600.0); });
}
// 12.5 million events, 50 MB.
QString fiftyMegabytes() {
    return benchMidiFile("50MB.mid", [] { return MidiFileBuilder::dense(100, 3900.0); });
}

// What the play button does.
void play(SoundEngine& device, const QString& file) {
    device.stop();
    device.open(file);
    device.play();
}

// Renders period after period until one holds sound.
void renderToFirstSound(SoundEngine& device) {
    std::vector<float> left(period), right(period);
    const auto loud = [](float sample) { return std::abs(sample) > audible; };
    for (int frames = 0; frames < 10 * SoundEngine::sampleRate; frames += period) {
        device.render(left.data(), right.data(), period);
        if (std::any_of(left.begin(), left.end(), loud) ||
            std::any_of(right.begin(), right.end(), loud))
            return;
    }
    throw std::runtime_error("playback bench: no sound");
}

void renderSeconds(SoundEngine& device, double seconds) {
    std::vector<float> left(period), right(period);
    for (int frames = 0; frames < seconds * SoundEngine::sampleRate; frames += period)
        device.render(left.data(), right.data(), period);
}

// Bytes handed out by malloc, in every arena, mapped ones included.
std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The system's SoundFont, no audio output: the sound is rendered here.
SoundEngine::Config offline() {
    SoundEngine::Config config = SoundEngine::Config::system();
    config.offline = true;
    return config;
}

// A synthesizer of its own, its SoundFont loaded, nothing played yet.
struct FreshDevice {
    SoundEngine device{offline()};
};

// From the play button's press to the first sound.
double playToFirstSoundMs(SoundEngine& device, const QString& file) {
    return Bench::seconds([&] {
               play(device, file);
               renderToFirstSound(device);
           }) *
           1000;
}

double firstFileMs() {
    FreshDevice fresh;
    fresh.device.ready(); // the SoundFont, loaded in the background while the windows show
    return playToFirstSoundMs(fresh.device, song());
}

double laterFileMs() {
    FreshDevice fresh;
    play(fresh.device, song());
    renderSeconds(fresh.device, 0.5);
    fresh.device.stop();
    renderSeconds(fresh.device, 1.0); // the reverb dies away
    return playToFirstSoundMs(fresh.device, laterSong());
}

double secondsOfMusicPerCpuSecond() {
    SoundEngine device(offline());
    constexpr double music = 30.0;
    const QString file = denseSong();
    const double start = threadCpuSeconds();
    play(device, file);
    renderSeconds(device, music);
    const double cpu = threadCpuSeconds() - start;
    device.stop();
    return music / cpu;
}

double openMs(const QString& file) {
    SoundEngine device(offline());
    return Bench::seconds([&] { device.open(file); }) * 1000;
}

double limitPlayToFirstSoundMs() {
    SoundEngine device(offline());
    device.open(atTheLimit());
    return Bench::seconds([&] {
               device.play();
               renderToFirstSound(device);
           }) *
           1000;
}

// Memory held at the first sound, beyond what was held before the file was opened.
double limitMemoryMb() {
    SoundEngine device(offline());
    device.settle();
    const std::size_t before = heapInUse();
    play(device, atTheLimit());
    renderToFirstSound(device);
    return static_cast<double>(heapInUse() - before) / (1 << 20);
}

// Stop and close on the window's thread, and until the player they hand
// to a thread of its own is freed.
std::vector<double> closeAtTheLimit() {
    SoundEngine device(offline());
    play(device, atTheLimit());
    renderToFirstSound(device);
    const double closing = Bench::seconds([&] { device.stop(); });
    const double deletion = Bench::seconds([&] { device.settle(); });
    return {closing * 1000, (closing + deletion) * 1000};
}

const bool registered = [] {
    Bench::add(
        {"playback", "play to first sound: first file (SoundFont loaded)", "ms", firstFileMs});
    Bench::add({"playback", "play to first sound: a later file", "ms", laterFileMs});
    Bench::add({"playback", "rendering: 16-track dense file, music per CPU time", "s/s",
                secondsOfMusicPerCpuSecond});
    Bench::add({"large", "open 50 MB, 12.5 million events (refused), on the window's thread", "ms",
                [] { return openMs(fiftyMegabytes()); }});
    Bench::add({"large", "open 16 MB, 3.9 million events, on the window's thread", "ms",
                [] { return openMs(atTheLimit()); }});
    Bench::add({"large", "16 MB: play to first sound (read, checked, parsed)", "ms",
                limitPlayToFirstSoundMs});
    Bench::add({"large", "16 MB: memory held at its first sound", "MB", limitMemoryMb});
    Bench::addFromOneRun("large",
                         {{"16 MB: stop and close on the window's thread", "ms"},
                          {"16 MB: ... until its player is freed, on its own thread", "ms"}},
                         closeAtTheLimit);
    return true;
}();

} // namespace
