#include "system/IncomingFiles.h"

#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
#include <QUrl>

#include <cerrno>
#include <optional>

namespace {

bool isListFile(const QFileInfo& file) {
    return file.suffix().compare(QLatin1String("lst"), Qt::CaseInsensitive) == 0;
}

// The MIME database knows .mid, .midi, .kar and a standard MIDI file's first
// bytes, but not RIFF MIDI's .rmi.
bool isMidiFile(const QFileInfo& file) {
    return file.suffix().compare(QLatin1String("rmi"), Qt::CaseInsensitive) == 0 ||
           QMimeDatabase().mimeTypeForFile(file).inherits(QStringLiteral("audio/midi"));
}

std::optional<WholeFileError> whyUnreadable(const QFileInfo& file) {
    if (!file.exists())
        return WholeFileError(WholeFileError::Reason::System, ENOENT);
    if (file.isDir())
        return WholeFileError(WholeFileError::Reason::Folder);
    if (!file.isFile())
        return WholeFileError(WholeFileError::Reason::NotRegular);
    if (!file.isReadable())
        return WholeFileError(WholeFileError::Reason::System, EACCES);
    return std::nullopt;
}

} // namespace

IncomingFiles IncomingFiles::fromPaths(const QStringList& absolutePaths) {
    IncomingFiles files;
    for (const QString& path : absolutePaths) {
        const QFileInfo file(path);
        if (std::optional<WholeFileError> why = whyUnreadable(file))
            files.unreadable.push_back({path, std::move(*why)});
        else if (isListFile(file))
            files.listFiles << path;
        else
            files.midiFiles << path;
    }
    return files;
}

IncomingFiles IncomingFiles::fromDrag(const QMimeData& data) {
    IncomingFiles files;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo file(url.toLocalFile());
        if (!file.isFile())
            continue;
        if (isListFile(file))
            files.listFiles << file.absoluteFilePath();
        else if (isMidiFile(file))
            files.midiFiles << file.absoluteFilePath();
    }
    return files;
}
