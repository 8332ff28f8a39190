#include "bench/BenchSoundFonts.h"
#include "bench/OneRunFigures.h"
#include "bench/RunningProgram.h"
#include "bench/SoundServer.h"
#include "bench/VirtualScreen.h"
#include "support/MidiFileBuilder.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>

// The real program as a user meets it, on a real X server (Xvfb) and a
// sound server (PulseAudio with a null sink), each figure beside what it is
// measured against in the same run: two bare Qt windows of the same sizes,
// and the fluidsynth command line playing the same file with the same
// SoundFont, period size and period count.
namespace {

constexpr double settleSeconds = 1.5; // the SoundFont loads, the music gets going
constexpr double cpuSeconds = 10.0;   // 1000 ticks of the kernel's CPU clock

using SoundFont = BenchSoundFont;

// Sixteen channels of General MIDI instruments, the drums among them, for a minute.
QString generalMidiSong() {
    static QTemporaryDir dir;
    const QString path = dir.filePath("song.mid");
    if (!QFile::exists(path))
        MidiFileBuilder::write(QFile::encodeName(path).toStdString(),
                               MidiFileBuilder::dense(16, 60.0));
    return path;
}

QProcessEnvironment desktop() {
    SoundServer::shared();
    VirtualScreen::shared();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    return environment;
}

QProcessEnvironment hooked(const SoundFont& soundFont, const QString& play = {}) {
    QProcessEnvironment environment = desktop();
    environment.insert("LD_PRELOAD", PELORA_SHOWN_HOOK);
    environment.insert("PELORA_BENCH_STAY", "1");
    // The program's own choice, so that it sees the SoundFont it plays with.
    environment.insert("PELORA_SOUNDFONT", soundFont.path);
    if (!play.isEmpty())
        environment.insert("PELORA_BENCH_PLAY", play);
    return environment;
}

void settle(double seconds = settleSeconds) {
    QThread::usleep(static_cast<unsigned long>(seconds * 1e6));
}

// The median of a few values.
double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Start-up and idle memory: Pelora, the bare windows, and their ratio or
// difference. The screen and the machine's other work move a single start by
// a factor of four, so each run starts both three times, taking turns at
// going first, and keeps the median of each.
std::vector<double> startUp(const SoundFont& soundFont) {
    constexpr int pairs = 3;
    std::vector<double> peloraMs, bareMs, ratio, peloraMb, bareMb, difference;
    for (int i = 0; i < pairs; ++i) {
        double shown[2] = {}, resident[2] = {};
        for (int turn = 0; turn < 2; ++turn) {
            const int which = (turn + i) % 2; // 0: Pelora, 1: the bare windows
            RunningProgram program(which == 0 ? PELORA_PROGRAM : PELORA_BARE_WINDOWS, {},
                                   hooked(soundFont), true);
            settle();
            shown[which] = program.shownAfterMs();
            resident[which] = program.residentMb();
        }
        peloraMs.push_back(shown[0]);
        bareMs.push_back(shown[1]);
        ratio.push_back(shown[0] / shown[1]);
        peloraMb.push_back(resident[0]);
        bareMb.push_back(resident[1]);
        difference.push_back(resident[0] - resident[1]);
    }
    return {median(peloraMs), median(bareMs), median(ratio),
            median(peloraMb), median(bareMb), median(difference)};
}

// Playing the same song: memory and CPU of Pelora and of the command line,
// both playing at once over the same seconds, so that the machine's other
// work weighs on both alike.
std::vector<double> playing(const SoundFont& soundFont) {
    const QString song = generalMidiSong();
    RunningProgram line("fluidsynth",
                        {"-ni", "-a", "pulseaudio", "-z", "256", "-c", "4", soundFont.path, song},
                        desktop(), false);
    RunningProgram pelora(PELORA_PROGRAM, {}, hooked(soundFont, song), true);
    settle();
    const double peloraBefore = pelora.cpuSeconds(), lineBefore = line.cpuSeconds();
    settle(cpuSeconds);
    const double peloraCpu = (pelora.cpuSeconds() - peloraBefore) / cpuSeconds * 100;
    const double lineCpu = (line.cpuSeconds() - lineBefore) / cpuSeconds * 100;
    const double peloraMb = pelora.residentMb(), lineMb = line.residentMb();
    return {peloraMb, lineMb, peloraMb / lineMb, peloraCpu, lineCpu, peloraCpu / lineCpu};
}

const bool registered = [] {
    for (const SoundFont& soundFont : benchSoundFonts) {
        if (!QFile::exists(soundFont.path))
            continue;
        const std::string with = std::string(" (") + soundFont.name + ")";
        Bench::addFromOneRun("desktop",
                             {{"start to both windows painted, Xvfb" + with, "ms"},
                              {"... two bare Qt windows of the same sizes", "ms"},
                              {"... Pelora / bare (goal <= 1.5)", "x"},
                              {"idle memory after start-up" + with, "MB"},
                              {"... the bare windows", "MB"},
                              {"... Pelora - bare (goal <= 20)", "MB"}},
                             [soundFont] { return startUp(soundFont); });
        Bench::addFromOneRun("desktop",
                             {{"memory playing a General MIDI song" + with, "MB"},
                              {"... the fluidsynth command line playing it", "MB"},
                              {"... Pelora / command line", "x"},
                              {"CPU playing it, 256 frames x 4 periods" + with, "%"},
                              {"... the fluidsynth command line", "%"},
                              {"... Pelora / command line (goal <= 1.0)", "x"}},
                             [soundFont] { return playing(soundFont); });
    }
    return true;
}();

} // namespace
