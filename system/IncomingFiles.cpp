#include "system/IncomingFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isListFile(const QFileInfo& file) {
    return file.suffix().compare(QLatin1String("lst"), Qt::CaseInsensitive) == 0;
}

// The MIME database knows .mid, .midi, .kar and a standard MIDI file's first
// bytes, but not RIFF MIDI's .rmi.
bool isRiffMidi(const QFileInfo& file) {
    return file.suffix().compare(QLatin1String("rmi"), Qt::CaseInsensitive) == 0;
}

bool isMidiFile(const QFileInfo& file) {
    return isRiffMidi(file) ||
           QMimeDatabase().mimeTypeForFile(file).inherits(QStringLiteral("audio/midi"));
}

// For a file Qt cannot open by its name: `content` was opened by its bytes.
bool isMidiFile(const QFileInfo& shown, QIODevice& content) {
    return isRiffMidi(shown) || QMimeDatabase()
                                    .mimeTypeForFileNameAndData(shown.fileName(), &content)
                                    .inherits(QStringLiteral("audio/midi"));
}

WholeFileError nameNotInCharacterSet() {
    return WholeFileError(WholeFileError::Reason::System, EILSEQ);
}

// Whether Qt gives back the very bytes of a name from the text it makes of
// them; where they are not valid in the system's character set, it cannot.
bool qtKeeps(const QByteArray& name) {
    return QFile::encodeName(QFile::decodeName(name)) == name;
}

struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

// Whether `folder` (its bytes, ending in '/') holds an entry whose name Qt
// decodes to `name` but cannot give back. Qt's own listing leaves such
// entries out, so the folder is read here.
bool holdsNameQtLost(const QByteArray& folder, const QString& name) {
    const std::unique_ptr<DIR, FolderCloser> entries(::opendir(folder.constData()));
    if (!entries)
        return false;
    while (const dirent* entry = ::readdir(entries.get())) {
        const QByteArray bytes(entry->d_name);
        if (!qtKeeps(bytes) && QFile::decodeName(bytes) == name)
            return true;
    }
    return false;
}

// Why nothing answers to a path. Qt puts U+FFFD where it met bytes it could
// not decode, so a path holding that character may name a file that is
// there under bytes Qt lost: the names in the path are followed one by one,
// and the first one missing is looked for among its folder's entries.
WholeFileError whyMissing(const QString& path) {
    const WholeFileError missing(WholeFileError::Reason::System, ENOENT);
    // A NUL would end the name early, naming another file.
    if (!path.contains(QChar::ReplacementCharacter) || path.contains(QChar::Null))
        return missing;
    QByteArray folder = QDir::isAbsolutePath(path) ? "/" : "./";
    for (const QString& name : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const QByteArray next = folder + QFile::encodeName(name);
        struct stat status;
        if (::stat(next.constData(), &status) != 0)
            return holdsNameQtLost(folder, name) ? nameNotInCharacterSet() : missing;
        folder = next + '/';
    }
    return missing;
}

std::optional<WholeFileError> whyUnreadable(const QFileInfo& file) {
    if (!file.exists())
        return whyMissing(file.filePath());
    if (file.isDir())
        return WholeFileError(WholeFileError::Reason::Folder);
    if (!file.isFile())
        return WholeFileError(WholeFileError::Reason::NotRegular);
    if (!file.isReadable())
        return WholeFileError(WholeFileError::Reason::System, EACCES);
    return std::nullopt;
}

// Whether a dropped file whose name Qt cannot hold would have been taken
// had its name been in the system's character set: a list file or a MIDI
// file, judged as any other, its first bytes read through its real name.
bool isMusicQtCannotName(const QByteArray& bytes, const QFileInfo& shown) {
    struct stat status;
    if (bytes.contains('\0') || ::stat(bytes.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    if (isListFile(shown))
        return true;
    QFile content; // left closed where the file cannot be read: judged by its name alone
    const int fd = ::open(bytes.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 && !content.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        ::close(fd);
    return isMidiFile(shown, content);
}

} // namespace

QString IncomingFiles::firstMidiFileName(const QStringList& paths) {
    for (const QString& path : paths) {
        if (!isListFile(QFileInfo(path)))
            return path;
    }
    return {};
}

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

IncomingFiles IncomingFiles::fromDrag(const QList<QUrl>& urls) {
    IncomingFiles files;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo file(url.toLocalFile());
        // A drag names a file by its bytes, percent-encoded.
        const QByteArray bytes =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (url.host().isEmpty() && !qtKeeps(bytes)) {
            if (isMusicQtCannotName(bytes, file))
                files.unreadable.push_back({file.absoluteFilePath(), nameNotInCharacterSet()});
            continue;
        }
        if (!file.isFile())
            continue;
        if (isListFile(file))
            files.listFiles << file.absoluteFilePath();
        else if (isMidiFile(file))
            files.midiFiles << file.absoluteFilePath();
    }
    return files;
}
