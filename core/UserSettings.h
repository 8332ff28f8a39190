#pragma once

#include <QSettings>

// What Pelora keeps between runs, in the user's configuration
// (~/.config/pelora/pelora.conf): the folders the file dialogs were last
// used in and the media controls' volume. Nothing else.
namespace UserSettings {

inline QSettings open() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("pelora"),
                     QStringLiteral("pelora"));
}

} // namespace UserSettings
