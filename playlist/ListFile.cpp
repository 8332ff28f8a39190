#include "playlist/ListFile.h"

#include "playlist/ListFileCodec.h"
#include "system/ListFileCharset.h"
#include "system/WholeFile.h"
#include "texts/Texts.h"

#include <QFile>
#include <utility>
#include <vector>

namespace {

// An entry that the character set cannot hold; the codec is never asked.
struct LoneSurrogate {
    QString entry;
};

QString unrepresentable(const QString& entry, const std::string& charset) {
    return Texts::entryNotRepresentable(entry, charset);
}

QString reasonFor(const ListFileCodecError& error, const std::string& charset,
                  const QString& path) {
    const QString entry = QString::fromStdString(error.entry);
    switch (error.reason) {
    case ListFileCodecError::Reason::UnknownCharset:
        return Texts::charsetUnknown(charset);
    case ListFileCodecError::Reason::Unrepresentable:
        return unrepresentable(entry, charset);
    case ListFileCodecError::Reason::QuoteInEntry:
        return Texts::entryWithQuote(entry);
    case ListFileCodecError::Reason::InvalidBytes:
        return Texts::bytesInvalid(charset, error.offset, path,
                                   charset != ListFile::WindowsJapanese);
    case ListFileCodecError::Reason::TooManyEntries:
        return Texts::tooManyEntries(ListFile::MaxEntries);
    }
    return {};
}

// Runs work(); any failure becomes a ListFileError naming the file.
template <class Work>
auto namingTheFile(QString (*sentence)(const QString& path, const QString& reason),
                   const QString& path, const std::string& charset, Work&& work) {
    try {
        return work();
    } catch (const ListFileCodecError& error) {
        throw ListFileError(sentence(path, reasonFor(error, charset, path)));
    } catch (const WholeFileError& error) {
        throw ListFileError(sentence(path, Texts::fileError(error, ListFile::MaxFileBytes)));
    } catch (const LoneSurrogate& error) {
        throw ListFileError(sentence(path, unrepresentable(error.entry, charset)));
    }
}

std::vector<std::string> utf8Entries(const QStringList& entries) {
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(entries.size()));
    for (const QString& entry : entries) {
        // Would be written as a replacement character.
        if (!entry.isValidUtf16())
            throw LoneSurrogate{entry};
        const QByteArray utf8 = entry.toUtf8();
        result.emplace_back(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    }
    return result;
}

// Lists written on Japanese Windows are in its code page whatever the
// locale here: bytes not valid in the locale's character set are tried as
// such a list before they are refused.
std::vector<std::string> decode(std::string_view bytes, const std::string& charset) {
    try {
        return ListFileCodec::decode(bytes, charset, ListFile::MaxEntries);
    } catch (const ListFileCodecError& error) {
        if (error.reason != ListFileCodecError::Reason::InvalidBytes ||
            charset == ListFile::WindowsJapanese)
            throw;
        try {
            return ListFileCodec::decode(bytes, ListFile::WindowsJapanese, ListFile::MaxEntries);
        } catch (const ListFileCodecError& asWindows) {
            if (asWindows.reason != ListFileCodecError::Reason::InvalidBytes)
                throw;
        }
        throw;
    }
}

} // namespace

void ListFile::save(const QString& path, const QStringList& entries) {
    save(path, entries, ListFileCharset::system());
}

QStringList ListFile::load(const QString& path) {
    return load(path, ListFileCharset::system());
}

void ListFile::save(const QString& path, const QStringList& entries, const std::string& charset,
                    const WriteFunction& write) {
    namingTheFile(Texts::listFileNotSaved, path, charset, [&] {
        WholeFile::replace(QFile::encodeName(path).toStdString(),
                           ListFileCodec::encode(utf8Entries(entries), charset), write);
    });
}

QStringList ListFile::load(const QString& path, const std::string& charset) {
    const std::vector<std::string> entries =
        namingTheFile(Texts::listFileNotLoaded, path, charset, [&] {
            return decode(WholeFile::read(QFile::encodeName(path).toStdString(), MaxFileBytes),
                          charset);
        });
    QStringList result;
    result.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries)
        result.append(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
    return result;
}
