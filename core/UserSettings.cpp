#include "core/UserSettings.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// Read through a copy in a private folder, so that QSettings meets no lock
// of another program's on the way.
SettingsWriter::Values read(const QString& path) {
    // Opening a FIFO or a device would wait or act.
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) ||
        file.size() > UserSettings::MaxFileBytes)
        return {};
    const QByteArray text = file.read(UserSettings::MaxFileBytes + 1);
    const QTemporaryDir folder;
    QFile copy(folder.filePath(QStringLiteral("settings.ini")));
    if (text.size() > UserSettings::MaxFileBytes || !folder.isValid() ||
        !copy.open(QIODevice::WriteOnly) || copy.write(text) != text.size())
        return {};
    copy.close();
    const QSettings ini(copy.fileName(), QSettings::IniFormat);
    SettingsWriter::Values values;
    for (const QString& key : ini.allKeys())
        values.insert(key, ini.value(key).toString());
    return values;
}

} // namespace

UserSettings::UserSettings(const QString& path) : path_(path), values_(read(path)), writer_(path) {}

QString UserSettings::userFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/pelora/pelora.ini");
}

QString UserSettings::value(const QString& key) const {
    return values_.value(key);
}

void UserSettings::setValue(const QString& key, const QString& value) {
    if (values_.contains(key) && values_.value(key) == value)
        return;
    values_.insert(key, value);
    changed();
}

void UserSettings::remove(const QString& key) {
    if (values_.remove(key) > 0)
        changed();
}

void UserSettings::changed() {
    if (!path_.isEmpty())
        writer_.write(values_);
}

bool UserSettings::finishWriting(std::chrono::milliseconds timeout) {
    return writer_.finish(timeout);
}
