#include "system/QtPlatformChoice.h"

#include <QtGlobal>

QtPlatformChoice QtPlatformChoice::fromEnvironment() {
    return {qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY")};
}

QtPlatformChoice::QtPlatformChoice(const QByteArray& userPlatform, const QByteArray& x11Display,
                                   const QByteArray& waylandDisplay)
    : userPlatform_(userPlatform), x11Display_(x11Display), waylandDisplay_(waylandDisplay) {}

bool QtPlatformChoice::hasDisplay() const {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS) && !defined(Q_OS_ANDROID)
    return !userPlatform_.isEmpty() || !x11Display_.isEmpty() || !waylandDisplay_.isEmpty();
#else
    return true; // the system's own windows, always there
#endif
}

QByteArray QtPlatformChoice::platformToSet() const {
    if (userPlatform_.isEmpty() && !x11Display_.isEmpty())
        return QByteArrayLiteral("xcb");
    return {};
}

void QtPlatformChoice::apply() const {
    if (const QByteArray platform = platformToSet(); !platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

QByteArray QtPlatformChoice::displayName() const {
    if (!x11Display_.isEmpty() && !userPlatform_.startsWith("wayland")) {
        // ":0" and ":0.0" are the same display, on its first screen.
        QByteArray display = x11Display_;
        const qsizetype dot = display.indexOf('.', display.lastIndexOf(':'));
        if (dot > 0)
            display.truncate(dot);
        return "x11:" + display;
    }
    if (!waylandDisplay_.isEmpty())
        return "wayland:" + waylandDisplay_;
    return "qt:" + userPlatform_;
}
