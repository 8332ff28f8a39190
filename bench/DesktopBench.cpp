#include "bench/BenchSoundFonts.h"
#include "bench/DesktopPeer.h"
#include "bench/FirstSound.h"
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
// SoundFont, period size and period count, and the lightest desktop player a
// user would pick instead (DesktopPeer) with the same SoundFont.
namespace {

constexpr double settleSeconds = 1.5; // the SoundFont loads, the music gets going
constexpr double idleSeconds = 3.0;   // after the window, before the idle memory
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
// difference, and the desktop peer's idle memory. The screen and the
// machine's other work move a single start by a factor of four, so each run
// starts each three times, taking turns at going first, and keeps the median
// of each.
std::vector<double> startUp(const SoundFont& soundFont) {
    constexpr int rounds = 3;
    const bool withPeer = DesktopPeer::installed();
    const int programs = withPeer ? 3 : 2;
    std::vector<double> peloraMs, bareMs, ratio, peloraMb, bareMb, difference, peerMb;
    for (int i = 0; i < rounds; ++i) {
        double shown[2] = {}, resident[3] = {};
        for (int turn = 0; turn < programs; ++turn) {
            const int which = (turn + i) % programs; // Pelora, the bare windows, the peer
            if (which == 2) {
                const DesktopPeer peer(soundFont.path, desktop());
                RunningProgram program(peer.program(), peer.idle(), peer.environment(), false);
                settle(settleSeconds + idleSeconds); // its window has no hook to tell
                resident[2] = program.residentMb();
                continue;
            }
            RunningProgram program(which == 0 ? PELORA_PROGRAM : PELORA_BARE_WINDOWS, {},
                                   hooked(soundFont), true);
            settle(idleSeconds);
            shown[which] = program.shownAfterMs();
            resident[which] = program.residentMb();
        }
        peerMb.push_back(withPeer ? resident[2] : 0.0);
        peloraMs.push_back(shown[0]);
        bareMs.push_back(shown[1]);
        ratio.push_back(shown[0] / shown[1]);
        peloraMb.push_back(resident[0]);
        bareMb.push_back(resident[1]);
        difference.push_back(resident[0] - resident[1]);
    }
    return {
        median(peloraMs), median(bareMs),     median(ratio),  median(peloraMb),
        median(bareMb),   median(difference), median(peerMb), median(peloraMb) - median(peerMb)};
}

QStringList commandLine(const SoundFont& soundFont, const QString& song) {
    return {"-ni", "-a", "pulseaudio", "-z", "256", "-c", "4", soundFont.path, song};
}

// Playing the same song: memory and CPU of Pelora, of the command line and
// of the desktop peer, all playing at once over the same seconds, so that
// the machine's other work weighs on all alike.
std::vector<double> playing(const SoundFont& soundFont) {
    const QString song = generalMidiSong();
    const DesktopPeer peer(soundFont.path, desktop());
    RunningProgram line("fluidsynth", commandLine(soundFont, song), desktop(), false);
    RunningProgram pelora(PELORA_PROGRAM, {}, hooked(soundFont, song), true);
    std::unique_ptr<RunningProgram> other;
    if (DesktopPeer::installed())
        other = std::make_unique<RunningProgram>(peer.program(), peer.playing(song),
                                                 peer.environment(), false);
    settle();
    const double peloraBefore = pelora.cpuSeconds(), lineBefore = line.cpuSeconds();
    const double otherBefore = other ? other->cpuSeconds() : 0.0;
    settle(cpuSeconds);
    const double peloraCpu = (pelora.cpuSeconds() - peloraBefore) / cpuSeconds * 100;
    const double lineCpu = (line.cpuSeconds() - lineBefore) / cpuSeconds * 100;
    const double otherCpu = other ? (other->cpuSeconds() - otherBefore) / cpuSeconds * 100 : 0.0;
    const double peloraMb = pelora.residentMb(), lineMb = line.residentMb();
    return {peloraMb, lineMb,   peloraMb / lineMb,   peloraCpu,
            lineCpu,  otherCpu, peloraCpu / lineCpu, otherCpu / lineCpu};
}

// From the start to the first sound: Pelora with the song on its command
// line, the command line and the peer likewise, one after another, taking
// turns at going first; then Pelora's first play from its load button,
// counted from the windows' first paint (the hook presses it then).
std::vector<double> firstSound(const SoundFont& soundFont, int round) {
    const QString song = generalMidiSong();
    const DesktopPeer peer(soundFont.path, desktop());
    const int programs = DesktopPeer::installed() ? 3 : 2;
    double ms[3] = {};
    for (int turn = 0; turn < programs; ++turn) {
        const int which = (turn + round) % programs;
        if (which == 0)
            ms[0] = firstSoundMs(PELORA_PROGRAM, {song}, hooked(soundFont));
        else if (which == 1)
            ms[1] = firstSoundMs("fluidsynth", commandLine(soundFont, song), desktop());
        else
            ms[2] = firstSoundMs(peer.program(), peer.playing(song), peer.environment());
        settle(0.3);
    }
    double shown = 0;
    const double clicked =
        firstSoundMs(PELORA_PROGRAM, {}, hooked(soundFont, song), true, &shown) - shown;
    return {ms[0], ms[1], ms[2], clicked};
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
                              {"... Pelora - bare (goal <= 13)", "MB"},
                              {"... audacious (GTK), 3 s after its start", "MB"},
                              {"... Pelora - audacious", "MB"}},
                             [soundFont] { return startUp(soundFont); });
        Bench::addFromOneRun("desktop",
                             {{"memory playing a General MIDI song" + with, "MB"},
                              {"... the fluidsynth command line playing it", "MB"},
                              {"... Pelora / command line", "x"},
                              {"CPU playing it, 256 frames x 4 periods" + with, "%"},
                              {"... the fluidsynth command line", "%"},
                              {"... audacious, playing it at the same time", "%"},
                              {"... Pelora / command line (goal <= 0.45)", "x"},
                              {"... audacious / command line", "x"}},
                             [soundFont] { return playing(soundFont); });
        Bench::addFromOneRun(
            "desktop",
            {{"first sound, the song on Pelora's command line" + with, "ms"},
             {"... the fluidsynth command line", "ms"},
             {"... audacious", "ms"},
             {"... Pelora's first play, from the paint (goal <= 120)", "ms"}},
            [soundFont, round = 0]() mutable { return firstSound(soundFont, round++); });
    }
    return true;
}();

} // namespace
