#pragma once

#include "texts/CommandLineTexts.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>

// Pelora's command line, `pelora [OPTION]... [FILE]...`, read before any
// window opens and before a display is needed.
class CommandLine {
public:
    // What the program prints, and the status it ends with, instead of
    // opening its windows: --help, --version, or a command line it refuses.
    struct EarlyExit {
        int status = 0;
        QString standardOutput;
        QString standardError;
    };

    // `arguments` begins with the program's name, as argv does; `texts`:
    // what --help and a refused command line print.
    CommandLine(const QStringList& arguments, const CommandLineTexts& texts);

    std::optional<EarlyExit> earlyExit() const;
    // The files named, made absolute against the working directory, in
    // their order.
    const QStringList& files() const { return files_; }
    // The SoundFont named with --soundfont, made absolute; empty when none.
    const QString& soundFont() const { return soundFont_; }
    // An option given that a running Pelora cannot take over from a later
    // start (its SoundFont is chosen when it starts); empty when none.
    QString unsharedOption() const {
        return soundFont_.isEmpty() ? QString() : QStringLiteral("--soundfont");
    }

private:
    CommandLineTexts texts_;
    QCommandLineParser parser_;
    QCommandLineOption help_;
    QCommandLineOption version_;
    QCommandLineOption soundFontOption_;
    bool parsed_ = false;
    QStringList files_;
    QString soundFont_;
};
