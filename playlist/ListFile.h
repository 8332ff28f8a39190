#pragma once

#include "core/Errors.h"
#include "playlist/SortedList.h"
#include "system/WholeFile.h"

#include <QString>
#include <QStringList>
#include <string>

// List files: one line per entry, the entry between two double quotes,
// then CR LF, in the system's character set.
class ListFile {
public:
    static constexpr int MaxEntries = SortedList::MaxEntries;

    // Writes every entry, or nothing: the list goes to a new file in the same
    // folder, which replaces the target only when every byte is written.
    // Throws ListFileError naming the file and the reason (an entry the
    // character set cannot represent, no write permission, a full disk).
    static void save(const QString& path, const QStringList& entries);

    // Reads and parses the whole file. A file whose bytes are not valid in
    // the character set is read as a Windows list (CP932) if they are valid
    // there. Throws ListFileError naming the file and the reason (missing or
    // unreadable, bytes invalid in the character set and as a Windows list,
    // with how to convert it; more than MaxEntries entries).
    static QStringList load(const QString& path);

    // The same in a given character set instead of the system's. `write`
    // stands in for write(2) (a test's disk that fails part-way).
    using WriteFunction = WholeFile::WriteFunction;
    static void save(const QString& path, const QStringList& entries, const std::string& charset,
                     const WriteFunction& write = {});
    static QStringList load(const QString& path, const std::string& charset);

    // Larger files are refused without being read.
    static constexpr long long MaxFileBytes = 64LL * 1024 * 1024;

    // The character set of lists written on Japanese Windows.
    static constexpr const char* WindowsJapanese = "CP932";
};

class ListFileError : public PeloraError {
public:
    using PeloraError::PeloraError;
};
