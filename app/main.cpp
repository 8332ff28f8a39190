#include "app/Program.h"
#include "core/DesignFonts.h"
#include "outside/CommandLine.h"
#include "outside/SingleInstance.h"
#include "playlist/SortedList.h"
#include "sound/SoundEngine.h"
#include "system/ProgramArguments.h"
#include "system/QtPlatformChoice.h"
#include "system/QtTranslation.h"
#include "system/TerminationSignals.h"
#include "texts/CommandLineTexts.h"

#include <QApplication>
#include <QFontDatabase>

#include <cstdio>
#include <thread>

int main(int argc, char** argv) {
    // Before any thread is made, so that every thread leaves the signals to it.
    TerminationSignals endRequests;
    const CommandLineTexts terminalTexts = CommandLineTexts::forSystemLocale();
    const CommandLine commandLine(ProgramArguments::fromArgv(argc, argv), terminalTexts);
    if (const auto exit = commandLine.earlyExit()) {
        std::fputs(exit->standardOutput.toLocal8Bit().constData(), stdout);
        std::fputs(exit->standardError.toLocal8Bit().constData(), stderr);
        return exit->status;
    }
    const QtPlatformChoice platformChoice = QtPlatformChoice::fromEnvironment();
    if (!platformChoice.hasDisplay()) {
        std::fputs(terminalTexts.noDisplay().toLocal8Bit().constData(), stderr);
        return 2;
    }
    platformChoice.apply();
    // Qt sees only the program's name, so that no file is taken for one of its options.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QtTranslation::install(app);
    // File dialogs and messages in the windows' own face: its font file is
    // read already, where the desktop's font and its Japanese fallback
    // would read two more (some 2.6 MB).
    QApplication::setFont(DesignFonts::systemFont());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pelora.Pelora"));
    SingleInstance instance(platformChoice.displayName(), SortedList::MaxEntries);
    const auto outcome = instance.start(commandLine.files(), commandLine.unsharedOption());
    if (outcome != SingleInstance::Outcome::Running)
        return outcome == SingleInstance::Outcome::HandedOver ? 0 : 1;
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        std::fputs(terminalTexts.waylandClient().toLocal8Bit().constData(), stderr);
    // Made before the thread below: it sets a variable of the environment
    // (for JACK), which no other thread may read meanwhile.
    SoundEngine engine(SoundEngine::Config::system(commandLine.soundFont().toStdString()));
    // The font configuration takes some 8 ms that the first paint would
    // wait for: a second core reads it while the windows are built.
    std::jthread fontsAhead([] { QFontDatabase::families(); });
    int status = 0;
    {
        Program program(engine, instance, endRequests);
        status = program.run(commandLine.files());
    }
    // The music ends after the windows; a stuck sound server holds it up a moment at most.
    engine.shutDown();
    return status;
}
