#include "app/Startup.h"
#include "app/Windows.h"
#include "core/ErrorModel.h"
#include "core/WindowInstance.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

bool displayAvailable() {
    const char* platformName = std::getenv("QT_QPA_PLATFORM");
    if (platformName && *platformName)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

} // namespace

int main(int argc, char** argv) {
    if (!displayAvailable()) {
        std::fputs("pelora: no display found (DISPLAY and WAYLAND_DISPLAY are not set); "
                   "start it from a desktop session.\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    WindowHandle::setOnNoWindowLoaded([] { QCoreApplication::exit(ErrorModel::exitStatus()); });

    ErrorModel::event([] { Startup::run(); });
    const int status = ErrorModel::ended() ? ErrorModel::exitStatus() : QApplication::exec();
    windows::destroyAll();
    return status;
}
