#pragma once

#include <QByteArray>

// Which of Qt's platforms Pelora's windows run on. The windows stand at
// fixed places side by side, and the playlist follows the player when it is
// minimised: only X11 lets a program place its windows and tells it that one
// was minimised. So where an X server is reachable (DISPLAY, as XWayland
// gives on Wayland desktops) Pelora asks for "xcb" even when Qt would pick
// Wayland; with Wayland alone it runs there, where the windows cannot be
// placed. A platform the user chose in QT_QPA_PLATFORM is always kept.
class QtPlatformChoice {
public:
    // Reads QT_QPA_PLATFORM, DISPLAY and WAYLAND_DISPLAY.
    static QtPlatformChoice fromEnvironment();
    QtPlatformChoice(const QByteArray& userPlatform, const QByteArray& x11Display,
                     const QByteArray& waylandDisplay);

    // False when there is nothing to show windows on: on systems whose
    // windows come from an X server or a Wayland compositor, when neither
    // is named. Elsewhere the system's own windows are always there.
    bool hasDisplay() const;
    // The platform Pelora sets, or empty where it leaves the choice to Qt and
    // the user.
    QByteArray platformToSet() const;
    // Sets QT_QPA_PLATFORM for the QApplication about to be made.
    void apply() const;

    // The display the windows will stand on, as "x11:HOST:N" or
    // "wayland:NAME": one running Pelora for each.
    QByteArray displayName() const;

private:
    QByteArray userPlatform_;
    QByteArray x11Display_;
    QByteArray waylandDisplay_;
};
