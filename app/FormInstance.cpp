#include "app/FormInstance.h"

namespace {
int loaded = 0;
std::function<void()> onNoWindowLoaded;
} // namespace

void FormInstanceBase::setOnNoWindowLoaded(std::function<void()> action) {
    onNoWindowLoaded = std::move(action);
}

int FormInstanceBase::loadedCount() { return loaded; }

void FormInstanceBase::noteLoaded() { ++loaded; }

void FormInstanceBase::noteUnloaded() {
    if (--loaded == 0 && onNoWindowLoaded)
        onNoWindowLoaded();
}

void FormInstanceBase::noteDestroyed() { --loaded; }
