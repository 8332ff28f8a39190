#pragma once

#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

// The lightest desktop player a user would pick instead: Debian's audacious
// in its GTK mode, its MIDI plug-in set to the SoundFont Pelora plays with,
// each start with a fresh settings folder of its own (no playlist kept from
// an earlier run, no second start handing over to a first).
class DesktopPeer {
public:
    static bool installed();

    DesktopPeer(const QString& soundFont, const QProcessEnvironment& desktop);

    QString program() const { return QStringLiteral("audacious"); }
    // Idle with its window; playing `file` from the command line.
    QStringList idle() const { return {QStringLiteral("-G")}; }
    QStringList playing(const QString& file) const { return {QStringLiteral("-G"), "-p", file}; }
    QProcessEnvironment environment() const { return environment_; }

private:
    QTemporaryDir home_;
    QProcessEnvironment environment_;
};
