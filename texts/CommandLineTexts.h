#pragma once

#include <QString>

// What Pelora writes in the terminal: --help and --version, a command line
// it refuses, and the lines it writes there around its start (no display,
// a Wayland session, the one running Pelora). In Japanese under a Japanese
// locale, in English under any other: the terminal's language, which the
// windows' words do not follow.
class CommandLineTexts {
public:
    enum class Language { English, Japanese };

    explicit CommandLineTexts(Language language) : language_(language) {}
    // The language the locale gives messages (LANGUAGE, LC_ALL, LC_MESSAGES,
    // LANG, as QLocale reads them).
    static CommandLineTexts forSystemLocale();

    QString help() const;
    // `parserError`: what QCommandLineParser says of the command line.
    QString refused(const QString& parserError) const;

    QString noDisplay() const;
    QString waylandClient() const;

    // The one running Pelora and the starts after it.
    QString noRuntimeFolder() const;
    QString cannotLock(const QString& lockFile) const;
    QString cannotTakeOption(const QString& option) const;
    QString tooManyToHandOver() const;
    QString runningDidNotAnswer() const;
    QString runningDidNotTake() const;
    QString cannotListen(const QString& socket, const QString& reason) const;
    QString requestTooLarge() const;
    QString requestMalformed() const;

private:
    QString usage() const;
    QString pick(const char* english, const char* japanese) const {
        return QString::fromUtf8(language_ == Language::Japanese ? japanese : english);
    }

    Language language_;
};
