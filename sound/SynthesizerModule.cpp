#include "sound/SynthesizerModule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

namespace {

QStringList places() {
    // Qt knows the program's folder once the application object exists; a
    // program without one (a benchmark) looks in the working folder.
    const QString programFolder = QCoreApplication::instance() != nullptr
                                      ? QCoreApplication::applicationDirPath()
                                      : QStringLiteral(".");
    const QString name = QStringLiteral("libpelora_synthesizer.so");
    return {programFolder + QLatin1Char('/') + name,
            programFolder + QStringLiteral("/../" PELORA_INSTALL_LIBDIR "/pelora/synthesizer/") +
                name,
            programFolder + QStringLiteral("/../") + name};
}

} // namespace

// Loading it again (another engine) finds it loaded already: the system
// keeps one copy, and it is never unloaded.
SynthesizerModule::Make SynthesizerModule::load(std::string& failure) {
    for (const QString& place : places()) {
        if (!QFileInfo(place).isFile())
            continue;
        QLibrary module(place);
        if (const auto make = reinterpret_cast<Make>(module.resolve("makeSynthesizer")))
            return make;
        failure = module.errorString().toStdString();
        return nullptr;
    }
    failure = "libpelora_synthesizer.so is neither beside the program nor in " PELORA_INSTALL_LIBDIR
              "/pelora/synthesizer";
    return nullptr;
}
