#include "bench/DesktopPeer.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <stdexcept>

bool DesktopPeer::installed() {
    return !QStandardPaths::findExecutable(QStringLiteral("audacious")).isEmpty();
}

DesktopPeer::DesktopPeer(const QString& soundFont, const QProcessEnvironment& desktop)
    : environment_(desktop) {
    const QString settings = home_.filePath(QStringLiteral(".config/audacious"));
    QFile config(settings + QStringLiteral("/config"));
    if (!QDir().mkpath(settings) || !config.open(QIODevice::WriteOnly))
        throw std::runtime_error("benchmark: cannot write audacious's settings");
    config.write("[amidiplug]\nfsyn_soundfont_file=" + QFile::encodeName(soundFont) + "\n");
    config.close();
    environment_.insert("HOME", home_.path());
    environment_.insert("XDG_CONFIG_HOME", home_.filePath(QStringLiteral(".config")));
    // Its own instance: no session bus to find a running one on.
    environment_.remove("DBUS_SESSION_BUS_ADDRESS");
}
