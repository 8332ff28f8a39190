#include "bench/VirtualScreen.h"

#include <QFile>
#include <QThread>

#include <stdexcept>

VirtualScreen& VirtualScreen::shared() {
    static VirtualScreen screen;
    return screen;
}

VirtualScreen::VirtualScreen() {
    for (int display = 191; display < 200; ++display) {
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
            continue;
        const QString name = QStringLiteral(":%1").arg(display);
        server_.start("Xvfb", {name, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        server_.waitForStarted();
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
        for (int i = 0; i < 100 && server_.state() == QProcess::Running; ++i) {
            if (QFile::exists(socket)) {
                qputenv("DISPLAY", name.toLatin1());
                return;
            }
            QThread::msleep(50);
        }
        server_.kill();
        server_.waitForFinished();
    }
    throw std::runtime_error("benchmark: no virtual X screen could start");
}

VirtualScreen::~VirtualScreen() {
    server_.terminate();
    server_.waitForFinished();
}
