#include "outside/CommandLine.h"

#include <QFileInfo>

CommandLine::CommandLine(const QStringList& arguments)
    : help_({QStringLiteral("h"), QStringLiteral("help")},
            QStringLiteral("Print this help and exit.")),
      version_({QStringLiteral("v"), QStringLiteral("version")},
               QStringLiteral("Print the version and exit.")),
      soundFontOption_(QStringLiteral("soundfont"),
                       QStringLiteral("Play with the SoundFont FILE instead of the system's "
                                      "(wins over PELORA_SOUNDFONT)."),
                       QStringLiteral("FILE")) {
    parser_.setApplicationDescription(QStringLiteral(
        "Play MIDI files, with a dancing mascot and a playlist.\n\n"
        "One MIDI file plays at once; several are added to the playlist and the first\n"
        "plays; a list file (.lst) is loaded into the playlist. When Pelora already runs\n"
        "on this display, the files go to it and its windows come to the front.\n\n"
        "The environment variable PELORA_SOUNDFONT names a SoundFont to play with, as\n"
        "--soundfont does."));
    parser_.addOption(help_);
    parser_.addOption(version_);
    parser_.addOption(soundFontOption_);
    parser_.addPositionalArgument(QStringLiteral("FILE"),
                                  QStringLiteral("A MIDI file (.mid, .midi, .kar, .rmi) or a "
                                                 "list file (.lst)."),
                                  QStringLiteral("[FILE]..."));
    parsed_ = parser_.parse(arguments);
    if (!parsed_)
        return;
    for (const QString& name : parser_.positionalArguments())
        files_ << QFileInfo(name).absoluteFilePath();
    if (parser_.isSet(soundFontOption_))
        soundFont_ = QFileInfo(parser_.value(soundFontOption_)).absoluteFilePath();
}

std::optional<CommandLine::EarlyExit> CommandLine::earlyExit() const {
    if (!parsed_)
        return EarlyExit{2,
                         {},
                         QStringLiteral("pelora: %1\n%2Try 'pelora --help' for more information.\n")
                             .arg(parser_.errorText(), usage())};
    if (parser_.isSet(help_)) {
        // The parser's own usage line names the program by its path, or by a
        // placeholder before the application object exists.
        QString text = parser_.helpText();
        text.remove(0, text.indexOf(QLatin1Char('\n')) + 1);
        return EarlyExit{0, usage() + text, {}};
    }
    if (parser_.isSet(version_))
        return EarlyExit{0, QStringLiteral("pelora " PELORA_VERSION "\n"), {}};
    return std::nullopt;
}

QString CommandLine::usage() const {
    return QStringLiteral("Usage: pelora [OPTION]... [FILE]...\n");
}
