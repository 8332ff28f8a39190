#include "bench/MidiFiles.h"

#include <QFile>
#include <QTemporaryDir>

QString benchMidiFile(const char* name, Bytes (*make)()) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!QFile::exists(path))
        MidiFileBuilder::write(QFile::encodeName(path).toStdString(), make());
    return path;
}
