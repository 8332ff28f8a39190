#include "bench/FirstSound.h"

#include "bench/RunningProgram.h"

#include <QElapsedTimer>
#include <QProcess>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int audible = 33; // of 32767: -60 dB

bool holdsSound(const QByteArray& samples) {
    for (qsizetype i = 0; i + 1 < samples.size(); i += 2) {
        std::int16_t sample = 0;
        std::memcpy(&sample, samples.constData() + i, 2);
        if (std::abs(sample) > audible)
            return true;
    }
    return false;
}

} // namespace

double firstSoundMs(const QString& program, const QStringList& arguments,
                    const QProcessEnvironment& environment, bool hooked, double* shownMs) {
    QProcess recorder;
    recorder.start("parec", {"-d", "bench.monitor", "--raw", "--format=s16le", "--channels=2",
                             "--rate=44100", "--latency-msec=5"});
    if (!recorder.waitForStarted(5000))
        throw std::runtime_error("benchmark: cannot record the sound server (parec)");
    // The recording under way, and silent: nothing else plays.
    while (recorder.bytesAvailable() < 44100 / 10 * 4 && recorder.waitForReadyRead(2000)) {
    }
    recorder.readAll();
    QElapsedTimer clock;
    clock.start();
    RunningProgram measured(program, arguments, environment, hooked);
    if (shownMs != nullptr)
        *shownMs = measured.shownAfterMs();
    while (clock.elapsed() < 10000) {
        if (recorder.waitForReadyRead(100) && holdsSound(recorder.readAll())) {
            const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            recorder.kill();
            recorder.waitForFinished();
            return ms;
        }
    }
    recorder.kill();
    recorder.waitForFinished();
    throw std::runtime_error("benchmark: " + program.toStdString() + " played nothing");
}
