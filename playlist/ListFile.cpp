#include "playlist/ListFile.h"

#include "platform/FileErrorText.h"
#include "platform/WholeFile.h"
#include "playlist/ListFileCharset.h"
#include "playlist/ListFileCodec.h"

#include <QFile>
#include <utility>
#include <vector>

namespace {

// An entry that the character set cannot hold; the codec is never asked.
struct LoneSurrogate {
    QString entry;
};

QString unrepresentable(const QString& entry, const std::string& charset) {
    return QStringLiteral("「%1」は文字コード %2 で表せません")
        .arg(entry, QString::fromStdString(charset));
}

QString reasonFor(const ListFileCodecError& error, const std::string& charset) {
    const QString entry = QString::fromStdString(error.entry);
    const QString charsetName = QString::fromStdString(charset);
    switch (error.reason) {
    case ListFileCodecError::Reason::UnknownCharset:
        return QStringLiteral("文字コード %1 を扱えません").arg(charsetName);
    case ListFileCodecError::Reason::Unrepresentable:
        return unrepresentable(entry, charset);
    case ListFileCodecError::Reason::QuoteInEntry:
        return QStringLiteral("「%1」は二重引用符を含むため書き込めません").arg(entry);
    case ListFileCodecError::Reason::InvalidBytes:
        return QStringLiteral("文字コード %1 として正しくないバイトがあります (先頭から %2 "
                              "バイト目)")
            .arg(charsetName)
            .arg(error.offset + 1);
    case ListFileCodecError::Reason::TooManyEntries:
        return QStringLiteral("項目が %1 個を超えています").arg(ListFile::MaxEntries);
    }
    return {};
}

// Runs work(); any failure becomes a ListFileError naming the file.
template <class Work>
auto namingTheFile(const QString& format, const QString& path, const std::string& charset,
                   Work&& work) {
    try {
        return work();
    } catch (const ListFileCodecError& error) {
        throw ListFileError(format.arg(path, reasonFor(error, charset)));
    } catch (const WholeFileError& error) {
        throw ListFileError(format.arg(path, fileErrorText(error, ListFile::MaxFileBytes)));
    } catch (const LoneSurrogate& error) {
        throw ListFileError(format.arg(path, unrepresentable(error.entry, charset)));
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

} // namespace

void ListFile::save(const QString& path, const QStringList& entries) {
    save(path, entries, ListFileCharset::system());
}

QStringList ListFile::load(const QString& path) {
    return load(path, ListFileCharset::system());
}

void ListFile::save(const QString& path, const QStringList& entries, const std::string& charset) {
    namingTheFile(QStringLiteral("リストファイル「%1」を保存できません: %2"), path, charset, [&] {
        WholeFile::replace(QFile::encodeName(path).toStdString(),
                           ListFileCodec::encode(utf8Entries(entries), charset));
    });
}

QStringList ListFile::load(const QString& path, const std::string& charset) {
    const std::vector<std::string> entries = namingTheFile(
        QStringLiteral("リストファイル「%1」を読み込めません: %2"), path, charset, [&] {
            return ListFileCodec::decode(
                WholeFile::read(QFile::encodeName(path).toStdString(), MaxFileBytes), charset,
                MaxEntries);
        });
    QStringList result;
    result.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries)
        result.append(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
    return result;
}

void ListFile::setWriteFunction(WriteFunction write) {
    WholeFile::setWriteFunction(std::move(write));
}
