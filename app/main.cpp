#include "app/AfterFirstPaint.h"
#include "app/CommandLine.h"
#include "app/ExternalFileOpener.h"
#include "app/QtPlatformChoice.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/Windows.h"
#include "core/ErrorModel.h"
#include "core/WindowInstance.h"
#include "platform/FluidSynthEngine.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"

#include <QApplication>
#include <QFontDatabase>

#include <cstdio>
#include <thread>

namespace {

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine commandLine(CommandLine::fromArgv(argc, argv));
    if (const auto exit = commandLine.earlyExit()) {
        print(stdout, exit->standardOutput);
        print(stderr, exit->standardError);
        return exit->status;
    }
    const QtPlatformChoice platformChoice = QtPlatformChoice::fromEnvironment();
    if (!platformChoice.hasDisplay()) {
        std::fputs("pelora: no display found (DISPLAY and WAYLAND_DISPLAY are not set); "
                   "start it from a desktop session.\n",
                   stderr);
        return 2;
    }
    platformChoice.apply();
    // The command line is Pelora's own, read above: Qt sees only the
    // program's name, so that no file name is taken for one of its options.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    SingleInstance instance(platformChoice.displayName());
    switch (instance.start(commandLine.files())) {
    case SingleInstance::Outcome::HandedOver:
        return 0;
    case SingleInstance::Outcome::NoAnswer:
        return 1;
    case SingleInstance::Outcome::Running:
        break;
    }
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        std::fputs("pelora: running as a Wayland client, where the windows cannot be placed "
                   "side by side and the playlist does not follow the minimised player; "
                   "with an X server (DISPLAY) they can.\n",
                   stderr);

    // Reading the system's font configuration takes some 8 ms that the first
    // paint would otherwise wait for; Qt's font database may be read from
    // any thread, so a second core reads it while the windows are built.
    const std::jthread fontsAhead([] { QFontDatabase::families(); });

    QApplication::setQuitOnLastWindowClosed(false);
    WindowHandle::setOnNoWindowLoaded([&instance] {
        instance.stop();
        QCoreApplication::exit(ErrorModel::exitStatus());
    });
    QObject::connect(&instance, &SingleInstance::filesHandedOver, [](const QStringList& files) {
        ErrorModel::event([&] {
            ExternalFileOpener::bringToFront();
            ExternalFileOpener::open(files);
        });
    });

    if (!commandLine.soundFont().isEmpty())
        FluidSynthEngine::chooseSoundFont(commandLine.soundFont().toStdString());
    ErrorModel::event([&] {
        Startup::run();
        ExternalFileOpener::open(commandLine.files());
    });
    // Loading the SoundFont keeps a core busy for some 20 ms (longer for a
    // large one): begun once the windows are on screen, it does not slow
    // their appearance, and it is done before a user could press play. A
    // file named on the command line has begun it already.
    if (windows::player().isLoaded() && windows::playlist().isLoaded())
        AfterFirstPaint::run({&windows::player().load(), &windows::playlist().load()},
                             [] { FluidSynthEngine::shared()->prepare(); });
    const int status = ErrorModel::ended() ? ErrorModel::exitStatus() : QApplication::exec();
    windows::destroyAll();
    return status;
}
