#include "outside/CommandLine.h"

#include <QFileInfo>

CommandLine::CommandLine(const QStringList& arguments, const CommandLineTexts& texts)
    : texts_(texts), help_({QStringLiteral("h"), QStringLiteral("help")}, QString()),
      version_({QStringLiteral("v"), QStringLiteral("version")}, QString()),
      soundFontOption_(QStringLiteral("soundfont"), QString(), QStringLiteral("FILE")) {
    parser_.addOption(help_);
    parser_.addOption(version_);
    parser_.addOption(soundFontOption_);
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
        return EarlyExit{2, {}, texts_.refused(parser_.errorText())};
    if (parser_.isSet(help_))
        return EarlyExit{0, texts_.help(), {}};
    if (parser_.isSet(version_))
        return EarlyExit{0, QStringLiteral("pelora " PELORA_VERSION "\n"), {}};
    return std::nullopt;
}
