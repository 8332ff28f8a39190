#include "core/WindowInstance.h"

namespace {
int loaded = 0;
std::function<void()> onNoWindowLoaded;
} // namespace

void WindowHandle::setOnNoWindowLoaded(std::function<void()> action) {
    onNoWindowLoaded = std::move(action);
}

int WindowHandle::loadedCount() {
    return loaded;
}

void WindowHandle::noteLoaded() {
    ++loaded;
}

void WindowHandle::noteUnloaded() {
    if (--loaded == 0 && onNoWindowLoaded)
        onNoWindowLoaded();
}

void WindowHandle::noteDestroyed() {
    --loaded;
}
