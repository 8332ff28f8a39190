#include "bench/Bench.h"
#include "playlist/ListFile.h"

#include <QFile>
#include <QStringConverter>
#include <QTemporaryDir>
#include <QTextStream>
#include <stdexcept>

namespace {

// 32767 paths of about 60 bytes, every third one Japanese.
const QStringList& fullList() {
    static const QStringList entries = [] {
        QStringList list;
        for (int i = 0; i < ListFile::MaxEntries; ++i)
            list.append(i % 3 == 0
                            ? QStringLiteral("/home/user/音楽/アーティスト%1/曲%2 - タイトル.mid")
                                  .arg(i % 97, 2, 10, QChar('0'))
                                  .arg(i, 5, 10, QChar('0'))
                            : QStringLiteral("/home/user/Music/Collection %1/Artist/Track %2 - "
                                             "title.mid")
                                  .arg(i % 97, 2, 10, QChar('0'))
                                  .arg(i, 5, 10, QChar('0')));
        return list;
    }();
    return entries;
}

QString benchFile(const char* name) {
    static QTemporaryDir dir;
    return dir.filePath(QString::fromLatin1(name));
}

double saveList(const std::string& charset) {
    const QString path = benchFile("list.lst");
    return Bench::seconds([&] { ListFile::save(path, fullList(), charset); }) * 1000;
}

double loadList(const std::string& charset) {
    const QString path = benchFile("list.lst");
    ListFile::save(path, fullList(), charset);
    return Bench::seconds([&] {
               if (ListFile::load(path, charset).size() != ListFile::MaxEntries)
                   throw std::runtime_error("list file bench: entries lost");
           }) *
           1000;
}

// The same file work done the plain way: written in place, read line by line.
double savePlain() {
    const QString path = benchFile("plain.lst");
    return Bench::seconds([&] {
               QFile file(path);
               if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                   throw std::runtime_error("list file bench: cannot write");
               QTextStream out(&file);
               out.setEncoding(QStringConverter::System);
               for (const QString& entry : fullList())
                   out << '"' << entry << "\"\r\n";
           }) *
           1000;
}

double loadPlain() {
    const QString path = benchFile("plain.lst");
    savePlain();
    return Bench::seconds([&] {
               QFile file(path);
               if (!file.open(QIODevice::ReadOnly))
                   throw std::runtime_error("list file bench: cannot read");
               QTextStream in(&file);
               in.setEncoding(QStringConverter::System);
               QStringList entries;
               QString line;
               while (in.readLineInto(&line))
                   entries.append(line.mid(1, line.size() - 2));
               if (entries.size() != ListFile::MaxEntries)
                   throw std::runtime_error("list file bench: entries lost");
           }) *
           1000;
}

const bool registered = [] {
    Bench::add({"playlist", "list file: save 32767 entries (UTF-8)", "ms",
                [] { return saveList("UTF-8"); }});
    Bench::add({"playlist", "list file: load 32767 entries (UTF-8)", "ms",
                [] { return loadList("UTF-8"); }});
    Bench::add({"playlist", "list file: save 32767 entries (CP932)", "ms",
                [] { return saveList("CP932"); }});
    Bench::add({"playlist", "list file: load 32767 entries (CP932)", "ms",
                [] { return loadList("CP932"); }});
    Bench::add({"playlist", "plain QFile/QTextStream: save 32767 entries", "ms", savePlain});
    Bench::add({"playlist", "plain QFile/QTextStream: load 32767 entries", "ms", loadPlain});
    return true;
}();

} // namespace
