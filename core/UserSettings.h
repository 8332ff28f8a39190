#pragma once

#include "core/SettingsWriter.h"

#include <QString>

// What Pelora keeps between runs, in the user's configuration
// (~/.config/pelora/pelora.ini): the folders the file dialogs were last
// used in and the media controls' volume. Nothing else.
//
// The file is read once, when the settings are made; each change is then
// written off the calling thread by one writer that holds every key, so
// that the windows never wait for the disk or a lock, and no change undoes
// another. A file that cannot be read or written costs only what it keeps.
class UserSettings {
public:
    // `path`: the settings file; empty: nothing is read or kept.
    explicit UserSettings(const QString& path);
    // The user's file, where Qt's own settings of Pelora are.
    static QString userFile();

    // Empty for a key that is not kept.
    QString value(const QString& key) const;
    void setValue(const QString& key, const QString& value);
    void remove(const QString& key);

    // Waits at most `timeout` until every change so far is written; true
    // when it is.
    bool finishWriting(std::chrono::milliseconds timeout);

    // A larger file is not Pelora's: it is not read, and the next change
    // replaces it.
    static constexpr qint64 MaxFileBytes = 64 * 1024;

private:
    void changed();

    QString path_;
    SettingsWriter::Values values_;
    SettingsWriter writer_;
};
