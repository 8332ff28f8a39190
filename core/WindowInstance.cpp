#include "core/WindowInstance.h"

namespace {
int loadedWindows = 0;
std::function<void()> onNoWindowLoaded;
} // namespace

void WindowHandle::setOnNoWindowLoaded(std::function<void()> action) {
    onNoWindowLoaded = std::move(action);
}

int WindowHandle::loadedCount() {
    return loadedWindows;
}

void WindowHandle::noteLoaded() {
    ++loadedWindows;
}

void WindowHandle::noteUnloaded() {
    if (--loadedWindows == 0 && onNoWindowLoaded)
        onNoWindowLoaded();
}

void WindowHandle::noteDestroyed() {
    --loadedWindows;
}
