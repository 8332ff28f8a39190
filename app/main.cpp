#include "app/AfterFirstPaint.h"
#include "app/CommandLine.h"
#include "app/ExternalFileOpener.h"
#include "app/MediaControls.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/Windows.h"
#include "core/AfterModalWindows.h"
#include "core/ErrorModel.h"
#include "core/UserMessage.h"
#include "core/WindowInstance.h"
#include "sound/SoundEngine.h"
#include "system/ProgramArguments.h"
#include "system/QtFileDialog.h"
#include "system/QtPlatformChoice.h"
#include "system/QtTranslation.h"
#include "texts/Texts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMessageBox>
#include <QThreadPool>

#include <cstdio>
#include <memory>
#include <thread>

namespace {

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine commandLine(ProgramArguments::fromArgv(argc, argv));
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

    QtTranslation::install(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pelora.Pelora"));

    SingleInstance instance(platformChoice.displayName());
    const QString unsharedOption =
        commandLine.soundFont().isEmpty() ? QString() : QStringLiteral("--soundfont");
    switch (instance.start(commandLine.files(), unsharedOption)) {
    case SingleInstance::Outcome::HandedOver:
        return 0;
    case SingleInstance::Outcome::NoAnswer:
    case SingleInstance::Outcome::Refused:
        return 1;
    case SingleInstance::Outcome::Running:
        break;
    }
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        std::fputs("pelora: running as a Wayland client, where the windows cannot be placed "
                   "side by side and the playlist does not follow the minimised player; "
                   "with an X server (DISPLAY) they can.\n",
                   stderr);

    // Nothing is loaded yet: the SoundFont once the windows are on screen.
    // Made before the thread below, since it sets a variable of the
    // environment (for JACK), which no other thread may read meanwhile.
    SoundEngine engine(SoundEngine::Config::system(commandLine.soundFont().toStdString()));

    // Reading the system's font configuration takes some 8 ms that the first
    // paint would otherwise wait for; Qt's font database may be read from
    // any thread, so a second core reads it while the windows are built.
    std::jthread fontsAhead([] { QFontDatabase::families(); });

    ErrorModel::setReporter([](const QString& message) {
        QMessageBox::critical(nullptr, QStringLiteral("Pelora"), Texts::fatalFailure(message));
        QCoreApplication::exit(ErrorModel::exitStatus());
    });
    UserMessage::setCombiner(Texts::gathered);
    int status = 0;
    {
        Windows windows(engine, [](const QString& filter, const QString& lastFolder) {
            return std::make_unique<QtFileDialog>(filter, lastFolder);
        });
        MediaControls mediaControls(windows);
        QApplication::setQuitOnLastWindowClosed(false);
        WindowHandle::setOnNoWindowLoaded([&instance] {
            instance.stop();
            QCoreApplication::exit(ErrorModel::exitStatus());
        });
        // Files a later start hands over are looked up on a thread of their
        // own, one handover after another, so that many do not stall the
        // windows; then they wait for any dialog or message to close, so
        // that nothing changes under it.
        QThreadPool lookUps;
        lookUps.setMaxThreadCount(1);
        QObject::connect(&instance, &SingleInstance::filesHandedOver,
                         [&windows, &lookUps](const QStringList& files, qsizetype count) {
                             lookUps.start([&windows, files, count] {
                                 auto checked = std::make_shared<const ExternalFileOpener::Checked>(
                                     ExternalFileOpener::check(files, count));
                                 QMetaObject::invokeMethod(
                                     QCoreApplication::instance(),
                                     [&windows, checked] {
                                         AfterModalWindows::run([&windows, checked] {
                                             ExternalFileOpener::bringToFront(windows);
                                             ExternalFileOpener::open(windows, *checked);
                                         });
                                     },
                                     Qt::QueuedConnection);
                             });
                         });

        ErrorModel::event([&] {
            Startup::run(windows);
            ExternalFileOpener::open(windows, commandLine.files());
        });
        // Loading the SoundFont keeps a core busy for some 20 ms (longer for
        // a large one): begun once the windows are on screen, it does not
        // slow their appearance, and it is done before a user could press
        // play. A file named on the command line has begun it already. The
        // media controls join the session bus then too.
        if (windows.player().isLoaded() && windows.playlist().isLoaded())
            AfterFirstPaint::run({&windows.player().load(), &windows.playlist().load()},
                                 [&engine, &mediaControls] {
                                     engine.prepare();
                                     mediaControls.start();
                                 });
        status = ErrorModel::ended() ? ErrorModel::exitStatus() : QApplication::exec();
    }
    // The music ends before the application object does; a sound server
    // that stopped answering holds it up for a moment at most.
    engine.shutDown();
    return status;
}
