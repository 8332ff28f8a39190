#include "outside/TrackTitle.h"

#include "midifile/SongTitle.h"
#include "system/Iconv.h"
#include "system/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextBoundaryFinder>

#include <optional>
#include <stdexcept>

namespace TrackTitle {
namespace {

QString decoded(const std::string& name) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString title = utf8(QByteArray::fromStdString(name));
    if (!utf8.hasError())
        return title;
    try {
        Iconv fromCp932("UTF-8", "CP932");
        if (const std::optional<std::string> converted = fromCp932.convert(name))
            return QString::fromStdString(*converted);
    } catch (const std::invalid_argument&) {
    }
    return {};
}

// Control characters are dropped; those that part words (tab, line breaks,
// a NUL between two names) leave one space.
QString shown(const QString& text) {
    QString title;
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control)
            title += c;
        else if ((c == u'\0' || c.isSpace()) && !title.isEmpty() && !title.back().isSpace())
            title += u' ';
    }
    title = title.trimmed();
    if (title.size() <= maxLength)
        return title;
    // Cut where a character ends, not within one drawn from several codes.
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, title);
    characters.setPosition(maxLength - 1);
    if (!characters.isAtBoundary())
        characters.toPreviousBoundary();
    return title.left(characters.position()) + u'…';
}

} // namespace

QString of(const QString& fileName) {
    std::string start;
    try {
        start =
            WholeFile::readStart(QFile::encodeName(fileName).toStdString(), SongTitle::bytesNeeded);
    } catch (const WholeFileError&) {
    }
    return fromStoredName(
        SongTitle::of({reinterpret_cast<const std::uint8_t*>(start.data()), start.size()}),
        fileName);
}

QString fromStoredName(const std::string& storedName, const QString& fileName) {
    const QString title = shown(decoded(storedName));
    return title.isEmpty() ? shown(QFileInfo(fileName).fileName()) : title;
}

} // namespace TrackTitle
