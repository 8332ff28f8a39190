#include "platform/IncomingFiles.h"

#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
#include <QUrl>

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

QString whyUnreadable(const QFileInfo& file) {
    if (!file.exists())
        return QStringLiteral("見つかりません");
    if (file.isDir())
        return QStringLiteral("フォルダーです");
    if (!file.isFile())
        return QStringLiteral("普通のファイルではありません");
    if (!file.isReadable())
        return QStringLiteral("読み取りが許可されていません");
    return {};
}

} // namespace

IncomingFiles IncomingFiles::fromPaths(const QStringList& absolutePaths) {
    IncomingFiles files;
    for (const QString& path : absolutePaths) {
        const QFileInfo file(path);
        if (const QString reason = whyUnreadable(file); !reason.isEmpty())
            files.unreadable << QStringLiteral("%1: %2").arg(path, reason);
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
