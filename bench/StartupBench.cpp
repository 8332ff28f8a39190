#include "bench/Bench.h"
#include "platform/FluidSynthEngine.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <ctime>
#include <memory>
#include <stdexcept>

// Start-up as the user meets it: the real program, started afresh from a
// folder without frame pictures (so they come from its data folder), until
// both windows have painted. A hook preloaded into the program notes that
// moment; the program itself is unchanged.
namespace {

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

double startUpMs() {
    const QTemporaryDir folder;
    QProcess program;
    program.setWorkingDirectory(folder.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LD_PRELOAD", PELORA_SHOWN_HOOK);
    program.setProcessEnvironment(environment);
    const long long started = monotonicNanoseconds();
    program.start(PELORA_PROGRAM, {});
    if (!program.waitForFinished(30000) || program.exitCode() != 0)
        throw std::runtime_error("start-up bench: the program did not show its windows: " +
                                 program.readAllStandardError().toStdString());
    bool ok = false;
    const long long shown = program.readAllStandardOutput().trimmed().toLongLong(&ok);
    if (!ok)
        throw std::runtime_error("start-up bench: no time from the hook");
    return static_cast<double>(shown - started) / 1e6;
}

// The part of start-up that the synthesizer takes: its settings, the synth
// and the SoundFont, loaded once per run.
double synthesizerMs() {
    std::unique_ptr<FluidSynthEngine> engine;
    return Bench::seconds([&] {
               engine = std::make_unique<FluidSynthEngine>(FluidSynthEngine::systemConfig());
           }) *
           1000;
}

const bool registered = [] {
    Bench::add({"start-up", "process start to both windows painted (offscreen)", "ms", startUpMs});
    Bench::add({"start-up", "of which: synthesizer and SoundFont", "ms", synthesizerMs});
    return true;
}();

} // namespace
