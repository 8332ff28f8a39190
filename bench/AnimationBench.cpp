#include "app/Windows.h"
#include "bench/OneRunFigures.h"
#include "core/ErrorModel.h"
#include "core/QtFileDialog.h"
#include "core/UserMessages.h"
#include "core/UserSettings.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "sound/SoundEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

// The mascot at its fastest, as the user sets it: the program started, the
// speed bar at 1 ms, the play button pressed (with no file: the animation
// runs all the same), then two seconds of the event loop.
namespace {

constexpr int seconds = 2;

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void complain(const QString& text) {
    std::fprintf(stderr, "animation bench: %s\n", qPrintable(text));
}

void startProgram(Windows& windows) {
    ErrorModel::setReporter(complain);
    ErrorModel::event([&windows] { windows.start(); });
    if (ErrorModel::ended())
        throw std::runtime_error("animation bench: the program did not start");
}

template <class Control> Control* control(const QWidget& window, const char* name) {
    auto* found = window.findChild<Control*>(QLatin1String(name));
    if (found == nullptr)
        throw std::runtime_error(std::string("animation bench: no control named ") + name);
    return found;
}

// Ticks per second, and milliseconds of CPU per second.
std::vector<double> animate() {
    SoundEngine::Config offline = SoundEngine::Config::system();
    offline.offline = true;
    SoundEngine engine(offline);
    FocusRestorer::Memory focus;
    UserSettings settings{QString()};
    UserMessages messages(complain, [](const QStringList& texts, qsizetype) {
        return texts.join(QLatin1Char('\n'));
    });
    Windows windows({engine,
                     [&focus, &settings](const QString& filter, const QString&) {
                         return std::make_unique<QtFileDialog>(filter, QString(), focus, settings);
                     },
                     messages, focus, [] {}});
    startProgram(windows);
    PlayerWindow& player = windows.player().load();
    control<QScrollBar>(windows.playlist().load(), "speedBar")->setValue(1);
    long ticks = 0;
    QObject::connect(control<QTimer>(player, "animationTimer"), &QTimer::timeout,
                     [&ticks] { ++ticks; });
    ErrorModel::event([&player] { player.play(); });

    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    const double cpuBefore = processCpuSeconds();
    wall.start();
    loop.exec();
    const double elapsed = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    const double cpu = processCpuSeconds() - cpuBefore;

    windows.destroyAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return {static_cast<double>(ticks) / elapsed, cpu / elapsed * 1000};
}

const bool registered = [] {
    Bench::addFromOneRun("animation",
                         {{"ticks delivered per second at a 1 ms interval (2 s)", "1/s"},
                          {"CPU time they cost, per second", "ms"}},
                         animate);
    return true;
}();

} // namespace
