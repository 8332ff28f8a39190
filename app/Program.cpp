#include "app/Program.h"

#include "app/AfterFirstPaint.h"
#include "core/ErrorModel.h"
#include "core/QtFileDialog.h"
#include "outside/SingleInstance.h"
#include "sound/SoundEngine.h"
#include "system/IncomingFiles.h"
#include "system/TerminationSignals.h"
#include "texts/Texts.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

Program::Program(SoundEngine& engine, SingleInstance& instance, TerminationSignals& endRequests)
    : engine_(engine), instance_(instance), settings_(UserSettings::userFile()),
      messages_(
          [this](const QString& text) {
              const FocusRestorer focusBack(focus_);
              QMessageBox::warning(nullptr, QStringLiteral("Pelora"), text);
          },
          Texts::gathered),
      afterModal_(messages_),
      windows_({engine_,
                [this](const QString& filter, const QString& lastFolder) {
                    return std::make_unique<QtFileDialog>(filter, lastFolder, focus_, settings_);
                },
                messages_, focus_,
                [this] {
                    // The last window is gone: a later start runs a Pelora of its own.
                    instance_.stop();
                    QCoreApplication::exit(ErrorModel::exitStatus());
                }}),
      opener_(windows_.player(), windows_.playlist(), afterModal_, messages_),
      mediaControls_(windows_.player(), windows_.playlist(), windows_.sharedState(), engine_,
                     afterModal_, opener_, settings_) {
    // The one process-wide setting: a failure no handler trapped ends the program.
    ErrorModel::setReporter([](const QString& message) {
        QMessageBox::critical(nullptr, QStringLiteral("Pelora"), Texts::fatalFailure(message));
        QCoreApplication::exit(ErrorModel::exitStatus());
    });
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&instance_, &SingleInstance::filesHandedOver, &opener_,
                     [this](const QStringList& files, qsizetype count) {
                         opener_.open(files, ExternalFileOpener::WayIn::LaterStart, count);
                     });
    QObject::connect(&endRequests, &TerminationSignals::requested, &afterModal_,
                     [this] { ErrorModel::event([this] { closeEverything(); }); });
    endRequests.watch();
}

void Program::closeEverything() {
    // A modal window's own event loop returns only once control is back in
    // it, and what called it may open another (a message): look again then.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
        QTimer::singleShot(10, &afterModal_,
                           [this] { ErrorModel::event([this] { closeEverything(); }); });
        return;
    }
    if (windows_.player().isLoaded()) {
        windows_.player().load().close();
        return;
    }
    instance_.stop();
    QCoreApplication::exit(ErrorModel::exitStatus());
}

int Program::run(const QStringList& files) {
    // A file named on the command line is to sound at once: the engine's
    // thread loads the SoundFont and the samples of the song that plays
    // first on the second core while the windows are built, rather than
    // after they are.
    if (!files.isEmpty())
        engine_.prepareToPlay(IncomingFiles::firstMidiFileName(files));
    ErrorModel::event([&] {
        windows_.start();
        if (!files.isEmpty())
            opener_.open(files, ExternalFileOpener::WayIn::CommandLine);
    });
    // Once the windows are on screen: a SoundFont the user named that cannot
    // be used is told, and the media controls join the session bus. The
    // synthesizer and its SoundFont wait for the first play (or the open
    // dialog): a Pelora that only sits there holds none of their memory.
    if (windows_.player().isLoaded() && windows_.playlist().isLoaded())
        AfterFirstPaint::run({&windows_.player().load(), &windows_.playlist().load()}, [this] {
            engine_.checkChosenSoundFont();
            mediaControls_.start();
        });
    return ErrorModel::ended() ? ErrorModel::exitStatus() : QApplication::exec();
}
